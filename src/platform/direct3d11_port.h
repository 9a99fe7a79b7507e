// Direct3D 11 as the antialiasing list sees it: D3D11CreateDevice on the
// default adapter and the device's multisample query. The Win32 adapter loads
// d3d11.dll from the system folder at run time; destroying the device
// releases it and its immediate context.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/hresult.h"
#include "platform/ports.h"

namespace glimmer {

// D3D_DRIVER_TYPE
inline constexpr std::uint32_t kD3dDriverTypeHardware = 1;
inline constexpr std::uint32_t kD3d11SdkVersion = 7;
// DXGI_FORMAT
inline constexpr std::uint32_t kDxgiFormatUnknown = 0;
inline constexpr std::uint32_t kDxgiFormatR8G8B8A8Unorm = 28;
// D3D11_MAX_MULTISAMPLE_SAMPLE_COUNT
inline constexpr std::uint32_t kD3d11MaxMultisampleSampleCount = 32;

// ID3D11Device.
class Direct3D11Device {
 public:
  virtual ~Direct3D11Device() = default;  // Release
  // ID3D11Device::CheckMultisampleQualityLevels: levels > 0 when sampleCount
  // is supported for format.
  virtual HResult CheckMultisampleQualityLevels(std::uint32_t format, std::uint32_t sampleCount,
                                                std::uint32_t& levels) = 0;
};

class Direct3D11Port {
 public:
  virtual ~Direct3D11Port() = default;
  // D3D11CreateDevice(default adapter, driverType, no software module, flags,
  // no feature-level list, sdkVersion, &device, &featureLevel, &context).
  // device is null on failure.
  virtual HResult D3D11CreateDevice(std::uint32_t driverType, std::uint32_t flags,
                                    std::uint32_t sdkVersion,
                                    std::unique_ptr<Direct3D11Device>& device,
                                    std::uint32_t& featureLevel) = 0;
};

}  // namespace glimmer
