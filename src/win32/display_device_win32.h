// The display device port over User32 and the system code page.
#pragma once

#include "platform/display_device_port.h"

namespace glimmer::win32 {

class Win32DisplayDevices final : public DisplayDevicePort {
 public:
  bool EnumDisplayDevicesA(std::uint32_t index, DisplayDeviceA& device) override;
  std::u16string MultiByteToWideChar(std::string_view text) override;
  std::int32_t GetSystemMetrics(std::int32_t index) override;
};

}  // namespace glimmer::win32
