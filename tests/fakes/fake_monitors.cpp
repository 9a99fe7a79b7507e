#include "fakes/fake_monitors.h"

#include <utility>

#include "platform/text.h"

namespace glimmer::fakes {

void FakeMonitors::Add(MonitorHandle handle, ScreenRect rect, std::u16string device,
                       std::u16string name, std::uint32_t stateFlags) {
  MonitorInfo info;
  info.monitorRect = rect;
  info.workRect = rect;
  info.device = device;
  monitors[handle] = info;
  DisplayDevice monitor;
  monitor.deviceName = device + u"\\Monitor0";
  monitor.deviceString = std::move(name);
  monitor.stateFlags = stateFlags;
  attached[std::move(device)].push_back(monitor);
}

void FakeMonitors::AddForAdapters(const std::vector<FakeD3dAdapter>& adapters) {
  std::int32_t left = 0;
  int number = 1;
  for (const FakeD3dAdapter& adapter : adapters) {
    const auto width = static_cast<std::int32_t>(adapter.desktopMode.width);
    const ScreenRect rect{left, 0, left + width,
                          static_cast<std::int32_t>(adapter.desktopMode.height)};
    Add(adapter.monitor, rect, FromUtf8(adapter.identifier.deviceName),
        u"Monitor " + AsciiToUtf16(std::to_string(number++)),
        kDisplayDeviceActive | kDisplayDeviceAttached);
    left += width;
  }
}

bool FakeMonitors::GetMonitorInfo(MonitorHandle monitor, MonitorInfo& info) {
  ++infoCalls;
  auto found = monitors.find(monitor);
  if (found == monitors.end()) return false;
  info = found->second;
  return true;
}

bool FakeMonitors::EnumDisplayDevices(std::u16string_view device, std::uint32_t index,
                                      DisplayDevice& out) {
  ++enumCalls;
  // Device names compare without case, as the window system's do.
  const auto folded = [](std::u16string_view text) {
    std::u16string result(text);
    for (char16_t& unit : result)
      if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
    return result;
  };
  for (const auto& [name, monitors] : attached) {
    if (folded(name) != folded(device)) continue;
    if (index >= monitors.size()) return false;
    out = monitors[index];
    return true;
  }
  return false;
}

}  // namespace glimmer::fakes
