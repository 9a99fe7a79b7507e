#include "fakes/fake_windows.h"

#include <algorithm>

namespace glimmer::fakes {

WindowHandle FakeWindows::Create(WindowHandle parent, std::u16string_view text) {
  const WindowHandle handle = nextHandle_;
  nextHandle_ += 4;  // window handles are never small or consecutive integers
  windows_[handle] = Window{parent, std::u16string(text), {}};
  if (auto found = windows_.find(parent); found != windows_.end()) {
    found->second.children.push_back(handle);
  }
  return handle;
}

void FakeWindows::Destroy(WindowHandle window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return;
  const Window removed = found->second;
  windows_.erase(found);
  for (WindowHandle child : removed.children) Destroy(child);
  if (auto parent = windows_.find(removed.parent); parent != windows_.end()) {
    std::erase(parent->second.children, window);
  }
}

std::u16string FakeWindows::Text(WindowHandle window) const {
  const auto found = windows_.find(window);
  return found != windows_.end() ? found->second.text : std::u16string();
}

std::u16string FakeWindows::GetWindowText(WindowHandle window, int capacity) {
  if (capacity <= 0) return {};
  return Text(window).substr(0, static_cast<std::size_t>(capacity) - 1);
}

bool FakeWindows::SetWindowText(WindowHandle window, std::u16string_view text) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return false;
  found->second.text = text;
  return true;
}

WindowHandle FakeWindows::GetTopWindow(WindowHandle window) {
  const auto found = windows_.find(window);
  if (found == windows_.end() || found->second.children.empty()) return 0;
  return found->second.children.front();
}

WindowHandle FakeWindows::GetNextWindow(WindowHandle window) {
  const auto found = windows_.find(window);
  if (found == windows_.end()) return 0;
  const auto parent = windows_.find(found->second.parent);
  if (parent == windows_.end()) return 0;
  const auto& siblings = parent->second.children;
  const auto self = std::find(siblings.begin(), siblings.end(), window);
  return self != siblings.end() && self + 1 != siblings.end() ? *(self + 1) : 0;
}

}  // namespace glimmer::fakes
