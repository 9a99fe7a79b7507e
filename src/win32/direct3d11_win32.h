// The Direct3D 11 port over d3d11.dll, loaded from the system folder on first use.
#pragma once

#include "platform/direct3d11_port.h"

namespace glimmer::win32 {

class Win32Direct3D11 final : public Direct3D11Port {
 public:
  HResult D3D11CreateDevice(std::uint32_t driverType, std::uint32_t flags, std::uint32_t sdkVersion,
                            std::unique_ptr<Direct3D11Device>& device,
                            std::uint32_t& featureLevel) override;
};

}  // namespace glimmer::win32
