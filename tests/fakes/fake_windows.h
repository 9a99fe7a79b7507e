// A window tree in memory: texts, class names, top-level windows and children
// in Z order, registered messages and a record of posted ones. A handle that
// names no window (0, never made, or destroyed) behaves as a null window does
// on Windows: reading gives "", setting does nothing, it has no children.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace glimmer::fakes {

struct PostedMessage {
  WindowHandle window = 0;  // 0: the posting thread's own queue
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  friend bool operator==(const PostedMessage&, const PostedMessage&) = default;
};

class FakeWindows : public WindowPort {
 public:
  // A new window of class "Static" with text. A child goes last among
  // parent's children; a top-level window (parent 0) goes to the top of the
  // Z order, as new windows do on Windows.
  WindowHandle Create(WindowHandle parent, std::u16string_view text);
  WindowHandle Create(WindowHandle parent, std::u16string_view text, std::u16string_view className);
  // Removes the window and its descendants.
  void Destroy(WindowHandle window);
  // The window's text, read without any capacity limit.
  std::u16string Text(WindowHandle window) const;
  // Every successful PostMessage, in posting order.
  const std::vector<PostedMessage>& Posted() const { return posted_; }

  // Contexts are numbered as Wine numbers them: 0x10 plus the awareness
  // (0 unaware, 1 system, 2 per monitor), 0x22 per monitor v2. The thread
  // takes those and the pseudo-handles -1 to -4; it starts per monitor v2, as
  // the shell's manifest asks. A top-level window lives in the context its
  // thread had when it was made, a child in its parent's.
  bool hasDpiCalls = true;  // false: Windows before 10 1607
  DpiContext ThreadDpiContext() const { return threadDpi_; }

  std::u16string GetWindowText(WindowHandle window, int capacity) override;
  bool SetWindowText(WindowHandle window, std::u16string_view text) override;
  WindowHandle GetTopWindow(WindowHandle window) override;
  WindowHandle GetNextWindow(WindowHandle window) override;
  bool EnumWindows(const Visitor& visit) override;
  // The desktop (parent 0) is not modelled: it has no children here.
  void EnumChildWindows(WindowHandle parent, const Visitor& visit) override;
  std::u16string GetClassName(WindowHandle window, int capacity) override;
  WindowHandle GetParent(WindowHandle window) override;
  bool IsWindow(WindowHandle window) override;
  std::uint32_t RegisterWindowMessage(std::u16string_view name) override;
  bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                   std::intptr_t lParam) override;
  DpiContext GetWindowDpiAwarenessContext(WindowHandle window) override;
  DpiContext SetThreadDpiAwarenessContext(DpiContext context) override;

 private:
  struct Window {
    WindowHandle parent = 0;
    std::u16string text;
    std::u16string className;
    std::vector<WindowHandle> children;  // in Z order
    DpiContext dpi = 0;
  };

  // Visits parent's descendants depth first; false once the visitor stopped.
  bool VisitDescendants(WindowHandle parent, const Visitor& visit);

  std::map<WindowHandle, Window> windows_;
  std::vector<WindowHandle> topLevel_;                // in Z order
  std::map<std::u16string, std::uint32_t> messages_;  // by upper-cased name
  std::vector<PostedMessage> posted_;
  WindowHandle nextHandle_ = 0x10010;
  DpiContext threadDpi_ = 0x22;
};

}  // namespace glimmer::fakes
