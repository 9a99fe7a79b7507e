// Direct3D 9 as the display code sees it: Direct3DCreate9 and the IDirect3D9
// methods the product calls, with the same arguments and results. The Win32
// adapter loads d3d9.dll from the system folder at run time; the object's
// Release is the destruction of the Direct3D9 object.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/hresult.h"
#include "platform/ports.h"

namespace glimmer {

using MonitorHandle = std::uintptr_t;  // HMONITOR; 0 is none

inline constexpr std::uint32_t kD3dSdkVersion = 32;

// What the IDirect3D9 methods answer for an adapter ordinal, index or
// argument they do not know, and for a combination the hardware refuses.
inline constexpr HResult kD3dErrInvalidCall = static_cast<HResult>(0x8876086Cu);
inline constexpr HResult kD3dErrNotAvailable = static_cast<HResult>(0x8876086Au);

// D3DDEVTYPE
inline constexpr std::uint32_t kD3dDevTypeHal = 1;

// D3DFORMAT values the product uses.
inline constexpr std::int32_t kD3dFmtUnknown = 0;
inline constexpr std::int32_t kD3dFmtA8R8G8B8 = 21;
inline constexpr std::int32_t kD3dFmtX8R8G8B8 = 22;
inline constexpr std::int32_t kD3dFmtR5G6B5 = 23;
inline constexpr std::int32_t kD3dFmtX1R5G5B5 = 24;
inline constexpr std::int32_t kD3dFmtD32 = 71;
inline constexpr std::int32_t kD3dFmtD24S8 = 75;
inline constexpr std::int32_t kD3dFmtD24X8 = 77;
inline constexpr std::int32_t kD3dFmtD24X4S4 = 79;
inline constexpr std::int32_t kD3dFmtD16 = 80;

inline constexpr std::uint32_t kD3dUsageDepthStencil = 2;
inline constexpr std::uint32_t kD3dRTypeSurface = 1;
inline constexpr std::uint32_t kD3dDevCapsHwTransformAndLight = 0x10000;
inline constexpr std::uint32_t kD3dCreateHardwareVertexProcessing = 0x40;
inline constexpr std::uint32_t kD3dCreateSoftwareVertexProcessing = 0x20;

// D3DDISPLAYMODE
struct D3dDisplayMode {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t refreshRate = 0;
  std::int32_t format = kD3dFmtUnknown;
};

// The fields of D3DADAPTER_IDENTIFIER9 the product keeps: 8-bit texts as the
// driver reports them (Description is UTF-8 in practice), and the ids.
struct D3dAdapterIdentifier {
  std::string driver;
  std::string description;
  std::string deviceName;
  std::uint32_t vendorId = 0;
  std::uint32_t deviceId = 0;
};

// The fields of D3DCAPS9 the product reads.
struct D3dCaps {
  std::uint32_t deviceType = 0;
  std::uint32_t adapterOrdinal = 0;
  std::uint32_t devCaps = 0;
  std::uint32_t numberOfAdaptersInGroup = 0;
  std::uint32_t masterAdapterOrdinal = 0;
  std::uint32_t adapterOrdinalInGroup = 0;
};

// IDirect3D9.
class Direct3D9 {
 public:
  virtual ~Direct3D9() = default;  // Release
  virtual std::uint32_t GetAdapterCount() = 0;
  virtual HResult GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags,
                                       D3dAdapterIdentifier& identifier) = 0;
  virtual HResult GetAdapterDisplayMode(std::uint32_t adapter, D3dDisplayMode& mode) = 0;
  virtual std::uint32_t GetAdapterModeCount(std::uint32_t adapter, std::int32_t format) = 0;
  virtual HResult EnumAdapterModes(std::uint32_t adapter, std::int32_t format, std::uint32_t index,
                                   D3dDisplayMode& mode) = 0;
  virtual HResult GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, D3dCaps& caps) = 0;
  virtual HResult CheckDeviceType(std::uint32_t adapter, std::uint32_t deviceType,
                                  std::int32_t displayFormat, std::int32_t backBufferFormat,
                                  bool windowed) = 0;
  virtual HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType,
                                    std::int32_t adapterFormat, std::uint32_t usage,
                                    std::uint32_t resourceType, std::int32_t checkFormat) = 0;
  virtual HResult CheckDepthStencilMatch(std::uint32_t adapter, std::uint32_t deviceType,
                                         std::int32_t adapterFormat,
                                         std::int32_t renderTargetFormat,
                                         std::int32_t depthStencilFormat) = 0;
  virtual MonitorHandle GetAdapterMonitor(std::uint32_t adapter) = 0;
  // The IDirect3D9 interface behind this object, by which two objects are
  // told to be one (not a method of the interface).
  virtual std::uintptr_t Identity() const = 0;
};

class Direct3D9Port {
 public:
  virtual ~Direct3D9Port() = default;
  // Direct3DCreate9(sdkVersion); null when Direct3D 9 is unavailable. While
  // an object of the same version is alive, the answer is that object again
  // (the same Identity): every new one sets up the whole adapter list, which
  // takes a noticeable time, and answers the same. Each object stays usable
  // until it is released itself; once all are, the next create starts afresh.
  virtual std::unique_ptr<Direct3D9> Direct3DCreate9(std::uint32_t sdkVersion) = 0;
};

}  // namespace glimmer
