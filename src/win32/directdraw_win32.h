// The DirectDraw port over ddraw.dll, loaded from the system folder on first
// use (the shell does not import it).
#pragma once

#include "platform/directdraw_port.h"

namespace glimmer::win32 {

class Win32DirectDraw final : public DirectDrawPort {
 public:
  std::unique_ptr<DirectDrawModule> LoadDirectDraw() override;
};

}  // namespace glimmer::win32
