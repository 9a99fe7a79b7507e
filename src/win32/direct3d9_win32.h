// The Direct3D 9 port over d3d9.dll, loaded from the system folder on first use.
#pragma once

#include <memory>

#include "platform/direct3d9_port.h"

struct IDirect3D9;

namespace glimmer::win32 {

class Win32Direct3D9 final : public Direct3D9Port {
 public:
  Win32Direct3D9() = default;
  Win32Direct3D9(const Win32Direct3D9&) = delete;
  Win32Direct3D9& operator=(const Win32Direct3D9&) = delete;

  std::unique_ptr<Direct3D9> Direct3DCreate9(std::uint32_t sdkVersion) override;

  // The object handed out while others of its version live. Each holder
  // keeps a reference of its own and tells the port when it lets go; the
  // port keeps none, so the last release ends the object.
  struct Live {
    IDirect3D9* object = nullptr;
    std::uint32_t version = 0;
    int holders = 0;
  };

 private:
  std::shared_ptr<Live> live_ = std::make_shared<Live>();
};

}  // namespace glimmer::win32
