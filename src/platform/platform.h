// The platform: every port of the shell in one object, built once by the
// entry point over the Win32 adapters (src/win32/platform_win32.h) or by a
// test over the fakes (tests/fakes/fake_platform.h), and handed down by
// reference. Code below the modes takes only the ports it uses.
//
// Every member is a reference, so a platform must be built with each port
// named: one left out does not compile.
#pragma once

namespace glimmer {

class RegistryPort;
class SystemPort;
class ProcessPort;
class UiPort;
class WindowPort;
class ResourcePort;
class FilePort;
class Direct3D9Port;
class Direct3D11Port;
class MonitorPort;
class WmiPort;
class DirectDrawPort;
class DisplayDevicePort;
class ElevationPort;

struct Platform {
  RegistryPort& registry;
  SystemPort& system;
  ProcessPort& processes;
  UiPort& ui;
  WindowPort& windows;
  ResourcePort& resources;
  // The user's playlist files.
  FilePort& files;
  // Display hardware.
  Direct3D9Port& direct3d9;
  Direct3D11Port& direct3d11;
  MonitorPort& monitors;
  WmiPort& wmi;
  DirectDrawPort& directDraw;
  DisplayDevicePort& displayDevices;
  // The elevated instance that saves for a standard user.
  ElevationPort& elevation;
};

}  // namespace glimmer
