// A window tree in memory: texts, and children in Z order. A handle that names
// no window (0, never made, or destroyed) behaves as a null window does on
// Windows: reading gives "", setting does nothing, it has no children.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace glimmer::fakes {

class FakeWindows : public WindowPort {
 public:
  // A new window with text, placed last among parent's children (parent 0: a
  // top-level window).
  WindowHandle Create(WindowHandle parent, std::u16string_view text);
  // Removes the window and its descendants.
  void Destroy(WindowHandle window);
  // The window's text, read without any capacity limit.
  std::u16string Text(WindowHandle window) const;

  std::u16string GetWindowText(WindowHandle window, int capacity) override;
  bool SetWindowText(WindowHandle window, std::u16string_view text) override;
  WindowHandle GetTopWindow(WindowHandle window) override;
  WindowHandle GetNextWindow(WindowHandle window) override;

 private:
  struct Window {
    WindowHandle parent = 0;
    std::u16string text;
    std::vector<WindowHandle> children;  // in Z order
  };

  std::map<WindowHandle, Window> windows_;
  WindowHandle nextHandle_ = 0x10010;
};

}  // namespace glimmer::fakes
