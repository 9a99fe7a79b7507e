// The Direct3D 9 port over d3d9.dll, loaded from the system folder for each
// Direct3D object and freed with it.
#pragma once

#include "display/direct3d9_port.h"

namespace glimmer::win32 {

class Win32Direct3D9 final : public Direct3D9Port {
 public:
  std::unique_ptr<Direct3D9> Direct3DCreate9(std::uint32_t sdkVersion) override;
};

}  // namespace glimmer::win32
