// The window port over User32.
#pragma once

#include "platform/ports.h"

namespace glimmer::win32 {

class Win32Windows final : public WindowPort {
 public:
  std::u16string GetWindowText(WindowHandle window, int capacity) override;
  bool SetWindowText(WindowHandle window, std::u16string_view text) override;
  WindowHandle GetTopWindow(WindowHandle window) override;
  WindowHandle GetNextWindow(WindowHandle window) override;
};

}  // namespace glimmer::win32
