// User32's display device list and screen metrics, scripted. The system code
// page is Windows-1252 unless a test makes it UTF-8 (code page 65001).
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/display_device_port.h"

namespace glimmer::fakes {

class FakeDisplayDevices : public DisplayDevicePort {
 public:
  // One adapter attached to the desktop as the primary device, and the
  // mirroring driver that many machines list after it.
  FakeDisplayDevices();

  std::vector<DisplayDeviceA> devices;
  std::map<std::int32_t, std::int32_t> metrics;  // missing indices answer 0
  bool utf8CodePage = false;

  int enumerations = 0;  // calls of EnumDisplayDevicesA
  std::vector<std::string> converted;

  bool EnumDisplayDevicesA(std::uint32_t index, DisplayDeviceA& device) override;
  std::u16string MultiByteToWideChar(std::string_view text) override;
  std::int32_t GetSystemMetrics(std::int32_t index) override;

  static DisplayDeviceA Device(std::string name, std::uint32_t stateFlags, std::string deviceId);
};

}  // namespace glimmer::fakes
