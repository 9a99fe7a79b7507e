// The window contract against User32; the native tests hold the fake to it.

#include <set>
#include <vector>

#include "contract/window_port_contract.h"
#include "win32/wide.h"
#include "win32/windows_api.h"
#include "win32/windows_win32.h"

namespace glimmer::contract {
namespace {

HWND ToHwnd(WindowHandle window) { return reinterpret_cast<HWND>(window); }
WindowHandle FromHwnd(HWND window) { return reinterpret_cast<WindowHandle>(window); }

class Win32WindowTree : public WindowTree {
 public:
  ~Win32WindowTree() override {
    for (HWND window : tops_) DestroyWindow(window);
    TakeReceived(0);
  }
  WindowPort& Port() override { return windows_; }
  WindowHandle CreateTop(std::u16string_view text) override {
    return FromHwnd(Create(L"STATIC", text, WS_POPUP, nullptr));
  }
  WindowHandle CreateChild(WindowHandle parent, std::u16string_view text) override {
    return FromHwnd(Create(L"STATIC", text, WS_CHILD, ToHwnd(parent)));
  }
  WindowHandle CreateOfClass(WindowHandle parent, std::u16string_view className) override {
    const std::wstring name = win32::Wide(className);
    if (registered_.insert(name).second) {
      WNDCLASSW windowClass{};
      windowClass.lpfnWndProc = DefWindowProcW;
      windowClass.hInstance = GetModuleHandleW(nullptr);
      windowClass.lpszClassName = name.c_str();
      // Another tree of this process may have registered it already.
      if (!RegisterClassW(&windowClass)) {
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
      }
    }
    return FromHwnd(Create(name.c_str(), u"", parent ? WS_CHILD : WS_POPUP, ToHwnd(parent)));
  }
  void Destroy(WindowHandle window) override { EXPECT_TRUE(DestroyWindow(ToHwnd(window))); }
  WindowHandle DeadHandle() override {
    const HWND window = Create(L"STATIC", u"Gone", WS_POPUP, nullptr);
    DestroyWindow(window);
    return FromHwnd(window);
  }
  std::vector<ReceivedMessage> TakeReceived(WindowHandle window) override {
    // (HWND)-1 asks for the thread's own messages, those posted to no window.
    const HWND from = window != 0 ? ToHwnd(window) : reinterpret_cast<HWND>(-1);
    std::vector<ReceivedMessage> received;
    MSG message;
    while (PeekMessageW(&message, from, 0, 0, PM_REMOVE)) {
      received.push_back({message.message, message.wParam, message.lParam});
    }
    return received;
  }

 private:
  HWND Create(const wchar_t* className, std::u16string_view text, DWORD style, HWND parent) {
    const HWND window = CreateWindowExW(0, className, win32::Wide(text).c_str(), style, 0, 0, 100,
                                        20, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr) << GetLastError();
    if (parent == nullptr) tops_.push_back(window);
    return window;
  }

  win32::Win32Windows windows_;
  std::vector<HWND> tops_;
  std::set<std::wstring> registered_;
};

INSTANTIATE_TEST_SUITE_P(Platform, WindowPortContract,
                         ::testing::Values(WindowPortImplementation{
                             "Win32", [] { return std::make_unique<Win32WindowTree>(); }}),
                         ImplementationName);

}  // namespace
}  // namespace glimmer::contract
