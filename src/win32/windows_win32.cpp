#include "win32/windows_win32.h"

#include <algorithm>
#include <exception>

#include "win32/system_dlls.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

namespace {

static_assert(sizeof(WindowHandle) == sizeof(HWND));
static_assert(sizeof(std::uintptr_t) == sizeof(WPARAM) && sizeof(std::intptr_t) == sizeof(LPARAM));
static_assert(sizeof(DpiContext) == sizeof(HANDLE));

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

// Windows 10 1607 and later: looked up when called, so that the shell still
// starts where they are missing. DPI_AWARENESS_CONTEXT is a handle.
using GetWindowDpiAwarenessContextFn = HANDLE(WINAPI*)(HWND window);
using SetThreadDpiAwarenessContextFn = HANDLE(WINAPI*)(HANDLE context);
constexpr LazyEntry<GetWindowDpiAwarenessContextFn> getWindowDpiAwarenessContext{
    SystemDll::User32, "GetWindowDpiAwarenessContext"};
constexpr LazyEntry<SetThreadDpiAwarenessContextFn> setThreadDpiAwarenessContext{
    SystemDll::User32, "SetThreadDpiAwarenessContext"};

// An exception must not unwind through User32's frames: it is caught in the
// callback, the walk is stopped, and it is thrown again once the call returned.
struct Walk {
  const WindowPort::Visitor& visit;
  std::exception_ptr failure;

  static BOOL CALLBACK Visit(HWND window, LPARAM context) {
    Walk& walk = *reinterpret_cast<Walk*>(context);
    try {
      return walk.visit(FromHwnd(window)) ? TRUE : FALSE;
    } catch (...) {
      walk.failure = std::current_exception();
      return FALSE;
    }
  }
  void RethrowFailure() const {
    if (failure) std::rethrow_exception(failure);
  }
};

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

bool Win32Windows::EnumWindows(const Visitor& visit) {
  Walk walk{visit, nullptr};
  const bool completed = ::EnumWindows(Walk::Visit, reinterpret_cast<LPARAM>(&walk)) != FALSE;
  walk.RethrowFailure();
  return completed;
}

void Win32Windows::EnumChildWindows(WindowHandle parent, const Visitor& visit) {
  Walk walk{visit, nullptr};
  ::EnumChildWindows(ToHwnd(parent), Walk::Visit, reinterpret_cast<LPARAM>(&walk));
  walk.RethrowFailure();
}

std::u16string Win32Windows::GetClassName(WindowHandle window, int capacity) {
  if (capacity <= 0) return {};
  std::wstring buffer(static_cast<std::size_t>(capacity), L'\0');
  const int length = ::GetClassNameW(ToHwnd(window), buffer.data(), capacity);
  buffer.resize(static_cast<std::size_t>(std::clamp(length, 0, capacity - 1)));
  return U16(buffer);
}

WindowHandle Win32Windows::GetParent(WindowHandle window) {
  return FromHwnd(::GetParent(ToHwnd(window)));
}

bool Win32Windows::IsWindow(WindowHandle window) { return ::IsWindow(ToHwnd(window)) != FALSE; }

std::uint32_t Win32Windows::RegisterWindowMessage(std::u16string_view name) {
  return ::RegisterWindowMessageW(Wide(name).c_str());
}

bool Win32Windows::PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                               std::intptr_t lParam) {
  return ::PostMessageW(ToHwnd(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam)) != FALSE;
}

DpiContext Win32Windows::GetWindowDpiAwarenessContext(WindowHandle window) {
  return reinterpret_cast<DpiContext>(
      getWindowDpiAwarenessContext.CallOr(HANDLE{nullptr}, ToHwnd(window)));
}

DpiContext Win32Windows::SetThreadDpiAwarenessContext(DpiContext context) {
  return reinterpret_cast<DpiContext>(
      setThreadDpiAwarenessContext.CallOr(HANDLE{nullptr}, reinterpret_cast<HANDLE>(context)));
}

}  // namespace glimmer::win32
