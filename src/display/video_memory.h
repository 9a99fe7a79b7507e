// Video memory of the chosen monitor's adapter, and the quality defaults that
// follow from it, the processor clock and the screen height.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "display/direct3d9_port.h"
#include "platform/registry.h"

namespace glimmer {

// Room for a display device ID, terminator included.
inline constexpr std::size_t kDisplayDeviceIdCapacity = 512;
// Room for a DirectDraw driver name in bytes, terminator included.
inline constexpr std::size_t kDriverNameCapacity = 512;

inline constexpr std::u16string_view kCurMonitorValue = u"CurMonitor";
inline constexpr std::u16string_view kWmiNamespace = u"\\\\.\\root\\cimv2";
inline constexpr std::u16string_view kVideoControllerClass = u"Win32_VideoController";
inline constexpr std::int32_t kWmiFetchTimeoutMs = 5000;
inline constexpr std::uint32_t kWmiFetchCount = 10;

// The adapter's total video memory in bytes, or 0 when no source tells.
std::uint32_t DetectVideoMemory();

// bytes is set to 0 first; kSOk when the matching controller's AdapterRAM was read.
HResult VideoMemoryFromWmi(MonitorHandle monitor, std::uint32_t& bytes);

// The DirectDraw total video memory of the default display device; 0 when
// ddraw.dll, its entry, the object or the query fails.
std::uint32_t VideoMemoryFromDirectDraw();

// The DeviceID of the display device that drives monitor (at most
// kDisplayDeviceIdCapacity - 1 code units are kept), kSOk or kEFail. id is
// left as it was on failure.
HResult DisplayDeviceIdOfMonitor(MonitorHandle monitor, std::u16string& id);

// The monitor index held by a saved "CurMonitor" value text ("2: 1"): the
// number after the type digit and colon, read like wcstol in base 10; 0 for a
// text shorter than two units.
std::int32_t MonitorIndexFromValueText(std::u16string_view text);

struct QualityDefaults {
  std::int32_t highQualityTextures = 0;
  std::int32_t highQualityGraphics = 0;
  std::int32_t antialiasing = 0;
  friend bool operator==(const QualityDefaults&, const QualityDefaults&) = default;
};

// The rule alone: mebibytes of video memory, processor MHz, full-screen
// height. Every comparison is unsigned.
QualityDefaults QualityDefaultsFor(std::uint32_t videoMemoryMb, std::int32_t cpuMhz,
                                   std::int32_t screenHeight);

// Measures in the fixed order (video memory, processor clock, screen height)
// and applies the rule.
QualityDefaults MeasureQualityDefaults();

}  // namespace glimmer
