// Video memory of the chosen monitor's adapter, and the quality defaults that
// follow from it, the processor clock and the screen height.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/direct3d9_port.h"
#include "platform/directdraw_port.h"
#include "platform/display_device_port.h"
#include "platform/hresult.h"
#include "platform/ports.h"
#include "platform/registry_port.h"
#include "platform/wmi_port.h"

namespace glimmer {

// Room for a display device ID, terminator included.
inline constexpr std::size_t kDisplayDeviceIdCapacity = 512;
// Room for a DirectDraw driver name in bytes, terminator included.
inline constexpr std::size_t kDriverNameCapacity = 512;

inline constexpr std::u16string_view kWmiNamespace = u"\\\\.\\root\\cimv2";
inline constexpr std::u16string_view kVideoControllerClass = u"Win32_VideoController";
inline constexpr std::int32_t kWmiFetchTimeoutMs = 5000;
inline constexpr std::uint32_t kWmiFetchCount = 10;

// What measuring the hardware reads: Direct3D 9 for the chosen monitor's
// adapter, WMI and DirectDraw for its memory, User32's display devices and
// screen metrics, the registry for the saved monitor, and the system for the
// processor clock and the registry's view.
struct HardwarePorts {
  Direct3D9Port& direct3d9;
  WmiPort& wmi;
  DirectDrawPort& directDraw;
  DisplayDevicePort& displayDevices;
  RegistryPort& registry;
  SystemPort& system;
};

// The adapter's total video memory in bytes, or 0 when no source tells.
std::uint32_t DetectVideoMemory(const HardwarePorts& ports);

// bytes is set to 0 first; kSOk when the matching controller's AdapterRAM was read.
HResult VideoMemoryFromWmi(WmiPort& wmi, DirectDrawPort& directDraw,
                           DisplayDevicePort& displayDevices, MonitorHandle monitor,
                           std::uint32_t& bytes);

// The DirectDraw total video memory of the default display device; 0 when
// ddraw.dll, its entry, the object or the query fails.
std::uint32_t VideoMemoryFromDirectDraw(DirectDrawPort& directDraw);

// The DeviceID of the display device that drives monitor (at most
// kDisplayDeviceIdCapacity - 1 code units are kept), kSOk or kEFail. id is
// left as it was on failure.
HResult DisplayDeviceIdOfMonitor(DirectDrawPort& directDraw, DisplayDevicePort& displayDevices,
                                 MonitorHandle monitor, std::u16string& id);

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
QualityDefaults MeasureQualityDefaults(const HardwarePorts& ports);

}  // namespace glimmer
