#include "fakes/fake_display_devices.h"

#include "platform/text.h"

namespace glimmer::fakes {
namespace {

// Windows-1252 at 0x80..0x9F; the rest of the upper half is Latin-1. The five
// unassigned bytes map to the C1 controls of the same value, as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

}  // namespace

FakeDisplayDevices::FakeDisplayDevices() {
  devices.push_back(Device("\\\\.\\DISPLAY1",
                           kDisplayDeviceAttachedToDesktop | kDisplayDevicePrimaryDevice,
                           "PCI\\VEN_1002&DEV_687F&SUBSYS_0B361002&REV_C1"));
  devices.push_back(Device("\\\\.\\DISPLAYV1", kDisplayDeviceMirroringDriver, ""));
  metrics[kSmCyScreen] = 768;
  metrics[kSmCyFullScreen] = 748;
}

bool FakeDisplayDevices::EnumDisplayDevicesA(std::uint32_t index, DisplayDeviceA& device) {
  ++enumerations;
  if (index >= devices.size()) return false;
  device = devices[index];
  return true;
}

std::u16string FakeDisplayDevices::MultiByteToWideChar(std::string_view text) {
  converted.emplace_back(text);
  if (utf8CodePage) return FromUtf8(text);
  std::u16string wide;
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 0) break;
    wide.push_back(byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : char16_t{byte});
  }
  return wide;
}

std::int32_t FakeDisplayDevices::GetSystemMetrics(std::int32_t index) {
  const auto found = metrics.find(index);
  return found == metrics.end() ? 0 : found->second;
}

DisplayDeviceA FakeDisplayDevices::Device(std::string name, std::uint32_t stateFlags,
                                          std::string deviceId) {
  DisplayDeviceA device;
  device.deviceName = std::move(name);
  device.deviceString = "Fake Display Adapter";
  device.stateFlags = stateFlags;
  device.deviceId = std::move(deviceId);
  return device;
}

}  // namespace glimmer::fakes
