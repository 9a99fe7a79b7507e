// The Direct3D 9 port over d3d9.dll, loaded from the system folder; each
// Direct3D object holds a reference of its own.
#pragma once

#include "display/direct3d9_port.h"
#include "win32/system_library.h"

namespace glimmer::win32 {

class Win32Direct3D9 final : public Direct3D9Port {
 public:
  std::unique_ptr<Direct3D9> Direct3DCreate9(std::uint32_t sdkVersion) override;

 private:
  // Held for the life of the process: every load of the library sets up the
  // whole device layer again (about a quarter of a second under Wine), while
  // the objects themselves are still created and released for each use.
  Library pinned_;
};

}  // namespace glimmer::win32
