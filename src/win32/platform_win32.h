// The Win32 adapters of every port, and the platform made of them.
#pragma once

#include "platform/platform.h"
#include "win32/direct3d11_win32.h"
#include "win32/direct3d9_win32.h"
#include "win32/directdraw_win32.h"
#include "win32/display_device_win32.h"
#include "win32/elevation_win32.h"
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
  Win32Platform() = default;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  const Platform& Ports() const { return ports_; }

 private:
  Win32Registry registry_;
  Win32System system_;
  Win32Processes processes_;
  Win32Ui ui_;
  Win32Windows windows_;
  Win32Resources resources_;
  Win32Files files_;
  Win32Direct3D9 direct3d9_;
  Win32Direct3D11 direct3d11_;
  Win32Monitors monitors_;
  Win32Wmi wmi_;
  Win32DirectDraw directDraw_;
  Win32DisplayDevices displayDevices_;
  Win32Elevation elevation_;
  Platform ports_{.registry = registry_,
                  .system = system_,
                  .processes = processes_,
                  .ui = ui_,
                  .windows = windows_,
                  .resources = resources_,
                  .files = files_,
                  .direct3d9 = direct3d9_,
                  .direct3d11 = direct3d11_,
                  .monitors = monitors_,
                  .wmi = wmi_,
                  .directDraw = directDraw_,
                  .displayDevices = displayDevices_,
                  .elevation = elevation_};
};

}  // namespace glimmer::win32
