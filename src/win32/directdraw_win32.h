// The DirectDraw port over ddraw.dll, loaded from the system folder at run
// time (the shell does not import it).
#pragma once

#include "display/directdraw_port.h"
#include "win32/system_library.h"

namespace glimmer::win32 {

class Win32DirectDraw final : public DirectDrawPort {
 public:
  std::unique_ptr<DirectDrawModule> LoadDirectDraw() override;

 private:
  // Held for the life of the process: every load of the library sets up the
  // whole device layer again (about a quarter of a second under Wine), while
  // the objects themselves are still created and released for each use.
  Library pinned_;
};

}  // namespace glimmer::win32
