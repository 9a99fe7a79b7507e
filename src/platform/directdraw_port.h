// DirectDraw as the video memory code sees it: ddraw.dll loaded at run time
// from the system folder, its two entry points looked up by name, and the
// one IDirectDraw7 method the product calls. The library stays loaded for the
// life of the process; destroying the object is its Release.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/direct3d9_port.h"
#include "platform/hresult.h"
#include "platform/ports.h"

namespace glimmer {

inline constexpr std::uint32_t kDdEnumAttachedSecondaryDevices = 0x1;
inline constexpr std::uint32_t kDdsCapsVideoMemory = 0x4000;

inline constexpr std::string_view kDirectDrawEnumerateExA = "DirectDrawEnumerateExA";
inline constexpr std::string_view kDirectDrawCreateEx = "DirectDrawCreateEx";

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::array<std::uint8_t, 8> data4{};
  friend bool operator==(const Guid&, const Guid&) = default;
};

// One call of the DDENUMCALLBACKEXA. hasGuid is false for the primary
// display driver, which DirectDraw reports with a null GUID.
struct DirectDrawDeviceInfo {
  bool hasGuid = false;
  Guid guid;
  std::string description;
  std::string driverName;
  MonitorHandle monitor = 0;
};

// DDSCAPS2.
struct DdsCaps2 {
  std::uint32_t caps = 0;
  std::uint32_t caps2 = 0;
  std::uint32_t caps3 = 0;
  std::uint32_t caps4 = 0;
};

// IDirectDraw7.
class DirectDraw7 {
 public:
  virtual ~DirectDraw7() = default;
  // GetAvailableVidMem(&caps, total, free); either pointer may be null.
  virtual HResult GetAvailableVidMem(const DdsCaps2& caps, std::uint32_t* total,
                                     std::uint32_t* free) = 0;
};

// The loaded ddraw.dll.
class DirectDrawModule {
 public:
  virtual ~DirectDrawModule() = default;
  // GetProcAddress(module, name) found the entry.
  virtual bool HasEntry(std::string_view name) = 0;
  // The callback's answer: true is DDENUMRET_OK (go on), false DDENUMRET_CANCEL.
  using DeviceVisitor = std::function<bool(const DirectDrawDeviceInfo&)>;
  // DirectDrawEnumerateExA(callback, context, flags); kEFail when the entry is missing.
  virtual HResult DirectDrawEnumerateExA(const DeviceVisitor& visit, std::uint32_t flags) = 0;
  // DirectDrawCreateEx(NULL, &object, IID_IDirectDraw7, NULL): the default
  // display device. kEFail when the entry is missing.
  virtual HResult DirectDrawCreateEx(std::unique_ptr<DirectDraw7>& object) = 0;
};

class DirectDrawPort {
 public:
  virtual ~DirectDrawPort() = default;
  // ddraw.dll, loaded from the system folder on first use; null when it cannot be.
  virtual std::unique_ptr<DirectDrawModule> LoadDirectDraw() = 0;
};

}  // namespace glimmer
