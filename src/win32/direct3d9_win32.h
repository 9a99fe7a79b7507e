// The Direct3D 9 port over d3d9.dll, loaded from the system folder; each
// Direct3D object holds a reference of its own on the library.
#pragma once

#include <memory>

#include "display/direct3d9_port.h"
#include "win32/system_library.h"

struct IDirect3D9;

namespace glimmer::win32 {

class Win32Direct3D9 final : public Direct3D9Port {
 public:
  std::unique_ptr<Direct3D9> Direct3DCreate9(std::uint32_t sdkVersion) override;

 private:
  // Held for the life of the process: every load of the library sets up the
  // whole device layer again (about a quarter of a second under Wine), while
  // the objects themselves are still created and released for each use.
  Library pinned_;
  // While an object is alive, a create asking for the same version gets that
  // object again: creating one sets up the whole adapter list (about 150 ms
  // under Wine), and it answers the same as a new one would. Once the last
  // holder releases it, the next create starts afresh.
  std::weak_ptr<IDirect3D9> live_;
  std::uint32_t liveVersion_ = 0;
};

}  // namespace glimmer::win32
