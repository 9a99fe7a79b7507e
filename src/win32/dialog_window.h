// The dialog procedure of every dialog class of the shell. Window is the
// object a run of the dialog lives in, passed to DialogBoxParamW as its
// parameter; it offers
//   void Attach(HWND dialog);            at WM_INITDIALOG, before anything else
//   bool ProcessWindowMessage(const DialogMessage&, std::intptr_t& result);
//   void OnFinalMessage();               at WM_NCDESTROY, the last message
// The object is kept in the dialog's DWLP_USER from WM_INITDIALOG to
// WM_NCDESTROY; messages before it have default processing.
#pragma once

#include <cstdint>

#include "dialog/dialog_message.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

static_assert(kWmDestroy == WM_DESTROY && kWmClose == WM_CLOSE && kWmInitDialog == WM_INITDIALOG &&
              kWmCommand == WM_COMMAND && kWmHScroll == WM_HSCROLL);
static_assert(kBnClicked == BN_CLICKED && kCbnSelEndOk == CBN_SELENDOK && kIdOk == IDOK &&
              kIdCancel == IDCANCEL);

template <typename Window>
INT_PTR CALLBACK DialogProcOf(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* window = reinterpret_cast<Window*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (message == WM_INITDIALOG) {
    window = reinterpret_cast<Window*>(lParam);
    SetWindowLongPtrW(dialog, DWLP_USER, lParam);
  }
  if (window == nullptr) return FALSE;
  try {
    if (message == WM_INITDIALOG) window->Attach(dialog);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(dialog, DWLP_USER, 0);
      window->OnFinalMessage();
      return FALSE;
    }
    std::intptr_t result = 0;
    if (!window->ProcessWindowMessage(
            {message, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam)},
            result))
      return FALSE;
    // WM_INITDIALOG answers whether the dialog manager is to set the focus;
    // every other handled message answers TRUE, its result in DWLP_MSGRESULT.
    if (message == WM_INITDIALOG) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, static_cast<LONG_PTR>(result));
    return TRUE;
  } catch (...) {
    // Nothing may unwind through the system's dialog manager: the dialog ends.
    EndDialog(dialog, 0);
    return TRUE;
  }
}

}  // namespace glimmer::win32
