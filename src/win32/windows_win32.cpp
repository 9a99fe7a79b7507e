#include "win32/windows_win32.h"

#include <algorithm>

#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

}  // namespace

std::u16string Win32Windows::GetWindowText(WindowHandle window, int capacity) {
  if (capacity <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(capacity), L'\0');
  const int length = ::GetWindowTextW(ToHwnd(window), buffer.data(), capacity);
  buffer.resize(static_cast<std::size_t>(std::clamp(length, 0, capacity - 1)));
  return U16(buffer);
}

bool Win32Windows::SetWindowText(WindowHandle window, std::u16string_view text) {
  return ::SetWindowTextW(ToHwnd(window), Wide(text).c_str()) != FALSE;
}

WindowHandle Win32Windows::GetTopWindow(WindowHandle window) {
  return FromHwnd(::GetTopWindow(ToHwnd(window)));
}

WindowHandle Win32Windows::GetNextWindow(WindowHandle window) {
  return FromHwnd(::GetWindow(ToHwnd(window), GW_HWNDNEXT));
}

}  // namespace glimmer::win32
