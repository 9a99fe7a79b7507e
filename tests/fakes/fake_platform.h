// Every port faked at once, and the platform made of them: what a test of a
// whole dialog or mode needs. The hardware answers nothing unless a test
// scripts it (no Direct3D adapters, no Direct3D 11 device, no WMI objects).
#pragma once

#include "fakes/fake_direct3d11.h"
#include "fakes/fake_direct3d9.h"
#include "fakes/fake_directdraw.h"
#include "fakes/fake_display_devices.h"
#include "fakes/fake_elevation.h"
#include "fakes/fake_files.h"
#include "fakes/fake_monitors.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_resources.h"
#include "fakes/fake_system.h"
#include "fakes/fake_windows.h"
#include "fakes/fake_wmi.h"
#include "platform/platform.h"

namespace glimmer::fakes {

class FakePlatform {
 public:
  explicit FakePlatform(bool wow64 = false) : registry(wow64) { system.wow64 = wow64; }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeRegistry registry;
  FakeSystem system;
  FakeProcesses processes;
  FakeUi ui;
  FakeWindows windows;
  FakeResources resources;
  FakeFiles files;
  FakeDirect3D9Port direct3d9;
  FakeDirect3D11Port direct3d11;
  FakeMonitors monitors;
  FakeWmi wmi;
  FakeDirectDraw directDraw;
  FakeDisplayDevices displayDevices;
  FakeElevation elevation{processes};

  const Platform ports{.registry = registry,
                       .system = system,
                       .processes = processes,
                       .ui = ui,
                       .windows = windows,
                       .resources = resources,
                       .files = files,
                       .direct3d9 = direct3d9,
                       .direct3d11 = direct3d11,
                       .monitors = monitors,
                       .wmi = wmi,
                       .directDraw = directDraw,
                       .displayDevices = displayDevices,
                       .elevation = elevation};
};

}  // namespace glimmer::fakes
