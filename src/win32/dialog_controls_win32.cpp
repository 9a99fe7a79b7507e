#include "win32/dialog_controls_win32.h"

#include <commctrl.h>

#include "win32/wide.h"

namespace glimmer::win32 {

static_assert(kCbErr == CB_ERR);

LRESULT Win32DialogControls::Send(ControlId id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetDlgItem(dialog_, id), message, wParam, lParam);
}

int Win32DialogControls::GetCheck(ControlId id) { return static_cast<int>(Send(id, BM_GETCHECK)); }

void Win32DialogControls::SetCheck(ControlId id, int state) {
  Send(id, BM_SETCHECK, static_cast<WPARAM>(state));
}

void Win32DialogControls::SetTrackBarRange(ControlId id, int low, int high) {
  Send(id, TBM_SETRANGE, TRUE, MAKELPARAM(low, high));
}

void Win32DialogControls::SetTrackBarPos(ControlId id, int position) {
  Send(id, TBM_SETPOS, TRUE, position);
}

int Win32DialogControls::GetTrackBarPos(ControlId id) {
  return static_cast<int>(Send(id, TBM_GETPOS));
}

void Win32DialogControls::SetText(ControlId id, std::u16string_view text) {
  const std::wstring wide = Wide(text);
  Send(id, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::u16string Win32DialogControls::GetText(ControlId id) {
  const HWND control = GetDlgItem(dialog_, id);
  if (!control) return {};
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(
      GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
  return U16(text);
}

void Win32DialogControls::Enable(ControlId id, bool enable) {
  EnableWindow(GetDlgItem(dialog_, id), enable ? TRUE : FALSE);
}

bool Win32DialogControls::IsEnabled(ControlId id) {
  return IsWindowEnabled(GetDlgItem(dialog_, id)) != FALSE;
}

void Win32DialogControls::SetShield(ControlId id, bool shield) {
  Send(id, BCM_SETSHIELD, 0, shield ? TRUE : FALSE);
}

void Win32DialogControls::ComboResetContent(ControlId id) { Send(id, CB_RESETCONTENT); }

int Win32DialogControls::ComboAddString(ControlId id, std::u16string_view text) {
  const std::wstring wide = Wide(text);
  return static_cast<int>(Send(id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

void Win32DialogControls::ComboSetItemData(ControlId id, int index, std::intptr_t data) {
  Send(id, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

std::intptr_t Win32DialogControls::ComboGetItemData(ControlId id, int index) {
  return static_cast<std::intptr_t>(Send(id, CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void Win32DialogControls::ComboSetCurSel(ControlId id, int index) {
  Send(id, CB_SETCURSEL, static_cast<WPARAM>(index));
}

int Win32DialogControls::ComboGetCurSel(ControlId id) {
  return static_cast<int>(Send(id, CB_GETCURSEL));
}

int Win32DialogControls::ComboGetCount(ControlId id) {
  return static_cast<int>(Send(id, CB_GETCOUNT));
}

std::u16string Win32DialogControls::ComboGetText(ControlId id, int index) {
  const LRESULT length = Send(id, CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const LRESULT copied =
      Send(id, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
  return U16(text);
}

}  // namespace glimmer::win32
