// Every port faked at once, installed for the lifetime of the object: what a
// test of a whole dialog needs. The hardware answers nothing unless a test
// scripts it (no Direct3D adapters, no Direct3D 11 device, no WMI objects).
#pragma once

#include <string_view>

#include "fakes/fake_direct3d11.h"
#include "fakes/fake_direct3d9.h"
#include "fakes/fake_directdraw.h"
#include "fakes/fake_display_devices.h"
#include "fakes/fake_monitors.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_resources.h"
#include "fakes/fake_system.h"
#include "fakes/fake_windows.h"
#include "fakes/fake_wmi.h"
#include "platform/ports.h"

namespace glimmer::fakes {

class FakePlatform {
 public:
  explicit FakePlatform(bool wow64 = false) : registry(wow64), installed_(MakePorts()) {
    system.wow64 = wow64;
  }
  FakePlatform(const FakePlatform&) = delete;
  FakePlatform& operator=(const FakePlatform&) = delete;

  FakeRegistry registry;
  FakeSystem system;
  FakeProcesses processes;
  FakeUi ui;
  FakeWindows windows;
  FakeResources resources;
  FakeDirect3D9Port direct3d9;
  FakeDirect3D11Port direct3d11;
  FakeMonitors monitors;
  FakeWmi wmi;
  FakeDirectDraw directDraw;
  FakeDisplayDevices displayDevices;

 private:
  Ports MakePorts() {
    Ports ports;
    ports.registry = &registry;
    ports.system = &system;
    ports.process = &processes;
    ports.ui = &ui;
    ports.windows = &windows;
    ports.resources = &resources;
    ports.direct3d9 = &direct3d9;
    ports.direct3d11 = &direct3d11;
    ports.monitors = &monitors;
    ports.wmi = &wmi;
    ports.directDraw = &directDraw;
    ports.displayDevices = &displayDevices;
    return ports;
  }
  ScopedPorts installed_;
};

}  // namespace glimmer::fakes
