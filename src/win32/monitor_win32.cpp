#include "win32/monitor_win32.h"

#include <cwchar>

#include "win32/wide.h"
#include "win32/windows_api.h"

// The port's members are named after the calls, which are macros here.
#undef EnumDisplayDevices
#undef GetMonitorInfo

namespace glimmer::win32 {

static_assert(kDisplayDeviceActive == DISPLAY_DEVICE_ACTIVE);
static_assert(kDisplayDeviceAttached == DISPLAY_DEVICE_ATTACHED);
static_assert(sizeof(MONITORINFOEXW) == 104);
static_assert(sizeof(DISPLAY_DEVICEW) == 840);

namespace {

ScreenRect FromNative(const RECT& rect) {
  return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

// The fixed text fields may be filled to the end without a terminator.
template <std::size_t N>
std::u16string FixedText(const wchar_t (&text)[N]) {
  return U16(std::wstring_view(text, wcsnlen(text, N)));
}

}  // namespace

bool Win32Monitors::GetMonitorInfo(MonitorHandle monitor, MonitorInfo& info) {
  MONITORINFOEXW native{};
  native.cbSize = sizeof(native);
  if (!GetMonitorInfoW(reinterpret_cast<HMONITOR>(monitor), &native)) return false;
  info.monitorRect = FromNative(native.rcMonitor);
  info.workRect = FromNative(native.rcWork);
  info.flags = native.dwFlags;
  info.device = FixedText(native.szDevice);
  return true;
}

bool Win32Monitors::EnumDisplayDevices(std::u16string_view device, std::uint32_t index,
                                       DisplayDevice& out) {
  DISPLAY_DEVICEW native{};
  native.cb = sizeof(native);
  const std::wstring name = Wide(device);
  if (!EnumDisplayDevicesW(device.empty() ? nullptr : name.c_str(), index, &native, 0))
    return false;
  out.deviceName = FixedText(native.DeviceName);
  out.deviceString = FixedText(native.DeviceString);
  out.stateFlags = native.StateFlags;
  out.deviceId = FixedText(native.DeviceID);
  out.deviceKey = FixedText(native.DeviceKey);
  return true;
}

}  // namespace glimmer::win32
