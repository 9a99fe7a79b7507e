// The Direct3D 11 port over d3d11.dll, loaded from the system folder; each
// device holds a reference of its own.
#pragma once

#include "display/direct3d11_port.h"
#include "win32/system_library.h"

namespace glimmer::win32 {

class Win32Direct3D11 final : public Direct3D11Port {
 public:
  HResult D3D11CreateDevice(std::uint32_t driverType, std::uint32_t flags, std::uint32_t sdkVersion,
                            std::unique_ptr<Direct3D11Device>& device,
                            std::uint32_t& featureLevel) override;

 private:
  // Held for the life of the process: every load of the library sets up the
  // whole device layer again (about a quarter of a second under Wine), while
  // the objects themselves are still created and released for each use.
  Library pinned_;
};

}  // namespace glimmer::win32
