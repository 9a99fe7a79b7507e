// The window contract against User32; the native tests hold the fake to it.

#include <vector>

#include "contract/window_port_contract.h"
#include "win32/wide.h"
#include "win32/windows_api.h"
#include "win32/windows_win32.h"

namespace glimmer::contract {
namespace {

class Win32WindowTree : public WindowTree {
 public:
  ~Win32WindowTree() override {
    for (HWND window : tops_) DestroyWindow(window);
  }
  WindowPort& Port() override { return windows_; }
  WindowHandle CreateTop(std::u16string_view text) override {
    const HWND window = Create(text, WS_POPUP, nullptr);
    tops_.push_back(window);
    return reinterpret_cast<WindowHandle>(window);
  }
  WindowHandle CreateChild(WindowHandle parent, std::u16string_view text) override {
    return reinterpret_cast<WindowHandle>(Create(text, WS_CHILD, reinterpret_cast<HWND>(parent)));
  }
  WindowHandle DeadHandle() override {
    const HWND window = Create(u"Gone", WS_POPUP, nullptr);
    DestroyWindow(window);
    return reinterpret_cast<WindowHandle>(window);
  }

 private:
  static HWND Create(std::u16string_view text, DWORD style, HWND parent) {
    const HWND window = CreateWindowExW(0, L"STATIC", win32::Wide(text).c_str(), style, 0, 0, 100,
                                        20, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr) << GetLastError();
    return window;
  }

  win32::Win32Windows windows_;
  std::vector<HWND> tops_;
};

INSTANTIATE_TEST_SUITE_P(Platform, WindowPortContract,
                         ::testing::Values(WindowPortImplementation{
                             "Win32", [] { return std::make_unique<Win32WindowTree>(); }}),
                         ImplementationName);

}  // namespace
}  // namespace glimmer::contract
