// User32's list of display devices in its 8-bit form, the system code page
// conversion of its texts, and the screen metrics.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace glimmer {

// DISPLAY_DEVICEA.StateFlags bits.
inline constexpr std::uint32_t kDisplayDeviceAttachedToDesktop = 0x1;
inline constexpr std::uint32_t kDisplayDevicePrimaryDevice = 0x4;
inline constexpr std::uint32_t kDisplayDeviceMirroringDriver = 0x8;

// sizeof(DISPLAY_DEVICEA), the cb the product passes.
inline constexpr std::uint32_t kDisplayDeviceASize = 424;

// GetSystemMetrics indices.
inline constexpr std::int32_t kSmCyScreen = 1;
inline constexpr std::int32_t kSmCyFullScreen = 17;

// The fields of DISPLAY_DEVICEA, each up to its first NUL (or the end of its
// fixed array: 32 bytes for the name, 128 for the others).
struct DisplayDeviceA {
  std::string deviceName;
  std::string deviceString;
  std::uint32_t stateFlags = 0;
  std::string deviceId;
  std::string deviceKey;
};

class DisplayDevicePort {
 public:
  virtual ~DisplayDevicePort() = default;
  // EnumDisplayDevicesA(NULL, index, &device with cb kDisplayDeviceASize, 0).
  virtual bool EnumDisplayDevicesA(std::uint32_t index, DisplayDeviceA& device) = 0;
  // MultiByteToWideChar(CP_ACP, 0, text, -1, ...): the text up to its first
  // NUL in UTF-16; empty on failure.
  virtual std::u16string MultiByteToWideChar(std::string_view text) = 0;
  virtual std::int32_t GetSystemMetrics(std::int32_t index) = 0;
};

}  // namespace glimmer
