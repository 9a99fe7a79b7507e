// The dialog's controls as the core sees them: the few control messages the
// settings dialogs send, addressed by control id. The Win32 adapter sends each
// one to GetDlgItem(dialog, id); an id the dialog template lacks gives a null
// handle there, so setting does nothing and every reading is 0, and the fake
// behaves the same.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace glimmer {

using ControlId = int;

// What CB_ADDSTRING, CB_GETCURSEL and CB_GETITEMDATA answer when there is no
// such entry or selection.
inline constexpr int kCbErr = -1;

class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // BM_GETCHECK / BM_SETCHECK (0 unchecked, 1 checked).
  virtual int GetCheck(ControlId id) = 0;
  virtual void SetCheck(ControlId id, int state) = 0;

  // TBM_SETRANGE with redraw, TBM_SETPOS with redraw, TBM_GETPOS.
  virtual void SetTrackBarRange(ControlId id, int low, int high) = 0;
  virtual void SetTrackBarPos(ControlId id, int position) = 0;
  virtual int GetTrackBarPos(ControlId id) = 0;

  // WM_SETTEXT / GetWindowTextW of the control.
  virtual void SetText(ControlId id, std::u16string_view text) = 0;
  virtual std::u16string GetText(ControlId id) = 0;

  // EnableWindow / IsWindowEnabled.
  virtual void Enable(ControlId id, bool enable) = 0;
  virtual bool IsEnabled(ControlId id) = 0;

  // BCM_SETSHIELD: the UAC shield on a push button, or off it.
  virtual void SetShield(ControlId id, bool shield) = 0;

  // Combo boxes: CB_RESETCONTENT; CB_ADDSTRING (the new entry's position, which
  // a sorted combo box chooses by text); CB_SETITEMDATA; CB_GETITEMDATA (kCbErr
  // for a position that names no entry); CB_SETCURSEL (-1 clears); CB_GETCURSEL
  // (kCbErr when nothing is selected); CB_GETCOUNT; CB_GETLBTEXT.
  virtual void ComboResetContent(ControlId id) = 0;
  virtual int ComboAddString(ControlId id, std::u16string_view text) = 0;
  virtual void ComboSetItemData(ControlId id, int index, std::intptr_t data) = 0;
  virtual std::intptr_t ComboGetItemData(ControlId id, int index) = 0;
  virtual void ComboSetCurSel(ControlId id, int index) = 0;
  virtual int ComboGetCurSel(ControlId id) = 0;
  virtual int ComboGetCount(ControlId id) = 0;
  virtual std::u16string ComboGetText(ControlId id, int index) = 0;
};

}  // namespace glimmer
