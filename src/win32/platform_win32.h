// The Win32 adapters of every port, installed for the lifetime of the object.
#pragma once

#include "platform/ports.h"
#include "win32/direct3d11_win32.h"
#include "win32/direct3d9_win32.h"
#include "win32/directdraw_win32.h"
#include "win32/display_device_win32.h"
#include "win32/file_win32.h"
#include "win32/monitor_win32.h"
#include "win32/registry_win32.h"
#include "win32/resources_win32.h"
#include "win32/system_win32.h"
#include "win32/windows_win32.h"
#include "win32/wmi_win32.h"

namespace glimmer::win32 {

class Win32Platform {
 public:
  Win32Platform() : installed_(MakePorts()) {}

 private:
  Ports MakePorts() {
    Ports ports;
    ports.registry = &registry_;
    ports.system = &system_;
    ports.process = &processes_;
    ports.ui = &ui_;
    ports.windows = &windows_;
    ports.resources = &resources_;
    ports.direct3d9 = &direct3d9_;
    ports.direct3d11 = &direct3d11_;
    ports.monitors = &monitors_;
    ports.wmi = &wmi_;
    ports.directDraw = &directDraw_;
    ports.displayDevices = &displayDevices_;
    ports.files = &files_;
    return ports;
  }

  Win32Registry registry_;
  Win32System system_;
  Win32Processes processes_;
  Win32Ui ui_;
  Win32Windows windows_;
  Win32Resources resources_;
  Win32Direct3D9 direct3d9_;
  Win32Direct3D11 direct3d11_;
  Win32Monitors monitors_;
  Win32Wmi wmi_;
  Win32DirectDraw directDraw_;
  Win32DisplayDevices displayDevices_;
  Win32Files files_;
  ScopedPorts installed_;
};

}  // namespace glimmer::win32
