#include "fakes/fake_windows.h"

#include <algorithm>
#include <utility>

namespace glimmer::fakes {

namespace {

// Registered message numbers start here; Windows gives them out from 0xC000.
constexpr std::uint32_t kFirstRegisteredMessage = 0xC0F1;
constexpr std::size_t kMaxAtomLength = 255;

std::u16string Upper(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return upper;
}

}  // namespace

WindowHandle FakeWindows::Create(WindowHandle parent, std::u16string_view text) {
  return Create(parent, text, u"Static");
}

WindowHandle FakeWindows::Create(WindowHandle parent, std::u16string_view text,
                                 std::u16string_view className) {
  const WindowHandle handle = nextHandle_;
  nextHandle_ += 4;  // window handles are never small or consecutive integers
  windows_[handle] = Window{parent, std::u16string(text), std::u16string(className), {}, 0};
  if (auto found = windows_.find(parent); found != windows_.end()) {
    found->second.children.push_back(handle);
    windows_[handle].dpi = found->second.dpi;
  } else {
    windows_[handle].parent = 0;
    windows_[handle].dpi = threadDpi_;
    topLevel_.insert(topLevel_.begin(), handle);
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
  } else {
    std::erase(topLevel_, window);
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
  const auto& siblings = parent != windows_.end() ? parent->second.children : topLevel_;
  const auto self = std::find(siblings.begin(), siblings.end(), window);
  return self != siblings.end() && self + 1 != siblings.end() ? *(self + 1) : 0;
}

bool FakeWindows::EnumWindows(const Visitor& visit) {
  // Windows takes a snapshot of the list and skips windows destroyed meanwhile.
  const std::vector<WindowHandle> snapshot = topLevel_;
  for (WindowHandle window : snapshot) {
    if (IsWindow(window) && !visit(window)) return false;
  }
  return true;
}

void FakeWindows::EnumChildWindows(WindowHandle parent, const Visitor& visit) {
  VisitDescendants(parent, visit);
}

bool FakeWindows::VisitDescendants(WindowHandle parent, const Visitor& visit) {
  const auto found = windows_.find(parent);
  if (found == windows_.end()) return true;
  const std::vector<WindowHandle> snapshot = found->second.children;
  for (WindowHandle child : snapshot) {
    if (!IsWindow(child)) continue;
    if (!visit(child) || !VisitDescendants(child, visit)) return false;
  }
  return true;
}

std::u16string FakeWindows::GetClassName(WindowHandle window, int capacity) {
  const auto found = windows_.find(window);
  if (capacity <= 0 || found == windows_.end()) return {};
  return found->second.className.substr(0, static_cast<std::size_t>(capacity) - 1);
}

WindowHandle FakeWindows::GetParent(WindowHandle window) {
  const auto found = windows_.find(window);
  return found != windows_.end() ? found->second.parent : 0;
}

bool FakeWindows::IsWindow(WindowHandle window) { return windows_.contains(window); }

std::uint32_t FakeWindows::RegisterWindowMessage(std::u16string_view name) {
  // The name is kept as an atom: not empty, at most 255 units, any case.
  if (name.empty() || name.size() > kMaxAtomLength) return 0;
  const auto next = kFirstRegisteredMessage + static_cast<std::uint32_t>(messages_.size());
  return messages_.try_emplace(Upper(name), next).first->second;
}

bool FakeWindows::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
  if (window != 0 && !IsWindow(window)) return false;
  posted_.push_back(PostedMessage{window, message, wParam, lParam});
  return true;
}

DpiContext FakeWindows::GetWindowDpiAwarenessContext(WindowHandle window) {
  const auto found = windows_.find(window);
  return hasDpiCalls && found != windows_.end() ? found->second.dpi : 0;
}

DpiContext FakeWindows::SetThreadDpiAwarenessContext(DpiContext context) {
  if (!hasDpiCalls) return 0;
  DpiContext taken = 0;
  switch (static_cast<std::intptr_t>(context)) {
    case -1:
    case -2:
    case -3:
      taken = 0x10 + static_cast<DpiContext>(-1 - static_cast<std::intptr_t>(context));
      break;
    case -4:
    case 0x22:
      taken = 0x22;
      break;
    case 0x10:
    case 0x11:
    case 0x12:
      taken = context;
      break;
    default:
      return 0;
  }
  return std::exchange(threadDpi_, taken);
}

}  // namespace glimmer::fakes
