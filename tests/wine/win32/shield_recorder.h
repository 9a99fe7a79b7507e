// Records the UAC shield a button is told to show. Wine's buttons ignore
// BCM_SETSHIELD, so what reached the button is what a test can see: the
// button is subclassed, and the shield it was last told of kept beside it.
#pragma once

#include "win32/windows_api.h"

// After <windows.h>: BCM_SETSHIELD.
#include <commctrl.h>

namespace glimmer::win32 {

class ShieldRecorder {
 public:
  explicit ShieldRecorder(HWND button) : button_(button) {
    SetPropW(button_, kProperty, reinterpret_cast<HANDLE>(0));
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Record)));
    SetPropW(button_, kPrevious, reinterpret_cast<HANDLE>(previous_));
  }
  ShieldRecorder(const ShieldRecorder&) = delete;
  ShieldRecorder& operator=(const ShieldRecorder&) = delete;
  ~ShieldRecorder() {
    if (!IsWindow(button_)) return;
    SetWindowLongPtrW(button_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
    RemovePropW(button_, kProperty);
    RemovePropW(button_, kPrevious);
  }

  // 1 shown, 0 taken away, 0 never told.
  bool Shielded() const { return GetPropW(button_, kProperty) == reinterpret_cast<HANDLE>(1); }

 private:
  static constexpr wchar_t kProperty[] = L"GlimmerdaleTest.Shield";
  static constexpr wchar_t kPrevious[] = L"GlimmerdaleTest.ShieldPrevious";

  static LRESULT CALLBACK Record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == BCM_SETSHIELD)
      SetPropW(window, kProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(lParam != 0)));
    const auto previous = reinterpret_cast<WNDPROC>(GetPropW(window, kPrevious));
    return CallWindowProcW(previous, window, message, wParam, lParam);
  }

  HWND button_;
  WNDPROC previous_ = nullptr;
};

}  // namespace glimmer::win32
