// The wait cursor for work of a second or so on the dialog's thread, which
// answers no messages meanwhile; the cursor it replaced comes back after.
#pragma once

#include "platform/ports.h"

namespace glimmer {

class WaitCursor {
 public:
  explicit WaitCursor(UiPort& ui) : ui_(ui), previous_(ui.ShowWaitCursor()) {}
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
  ~WaitCursor() { ui_.SetCursor(previous_); }

 private:
  UiPort& ui_;
  CursorHandle previous_;
};

}  // namespace glimmer
