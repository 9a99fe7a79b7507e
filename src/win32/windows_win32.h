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
  bool EnumWindows(const Visitor& visit) override;
  void EnumChildWindows(WindowHandle parent, const Visitor& visit) override;
  std::u16string GetClassName(WindowHandle window, int capacity) override;
  WindowHandle GetParent(WindowHandle window) override;
  bool IsWindow(WindowHandle window) override;
  std::uint32_t RegisterWindowMessage(std::u16string_view name) override;
  bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  DpiContext GetWindowDpiAwarenessContext(WindowHandle window) override;
  DpiContext SetThreadDpiAwarenessContext(DpiContext context) override;
};

}  // namespace glimmer::win32
