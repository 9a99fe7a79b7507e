// The window system's monitor calls the display inventory needs: the monitor
// rectangle and display device name of a monitor, and the monitors attached
// to a display device.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/direct3d9_port.h"
#include "platform/ports.h"

#ifdef _WIN32
#undef EnumDisplayDevices
#undef GetMonitorInfo
#endif

namespace glimmer {

// RECT: virtual-desktop pixels.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const ScreenRect&) const = default;
};

// MONITORINFOEXW.
struct MonitorInfo {
  ScreenRect monitorRect;  // rcMonitor
  ScreenRect workRect;     // rcWork
  std::uint32_t flags = 0;
  std::u16string device;  // szDevice, e.g. \\.\DISPLAY1 (up to its NUL)
};

// DISPLAY_DEVICEW.
inline constexpr std::uint32_t kDisplayDeviceActive = 0x1;
inline constexpr std::uint32_t kDisplayDeviceAttached = 0x2;

struct DisplayDevice {
  std::u16string deviceName;
  std::u16string deviceString;
  std::uint32_t stateFlags = 0;
  std::u16string deviceId;
  std::u16string deviceKey;
};

class MonitorPort {
 public:
  virtual ~MonitorPort() = default;
  // GetMonitorInfoW with a MONITORINFOEXW (cbSize 104).
  virtual bool GetMonitorInfo(MonitorHandle monitor, MonitorInfo& info) = 0;
  // EnumDisplayDevicesW(device, index, DISPLAY_DEVICEW with cb 840, 0): with
  // a display device name, the monitors attached to it; an empty name stands
  // for NULL, the display devices themselves.
  virtual bool EnumDisplayDevices(std::u16string_view device, std::uint32_t index,
                                  DisplayDevice& out) = 0;
};

}  // namespace glimmer
