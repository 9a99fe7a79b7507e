// The controls port over a real dialog: every call goes to
// GetDlgItem(dialog, id), so an id the template lacks is a null handle and
// behaves as one (setting does nothing, reading gives 0).
#pragma once

#include "dialog/dialog_controls.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

class Win32DialogControls final : public DialogControls {
 public:
  explicit Win32DialogControls(HWND dialog = nullptr) : dialog_(dialog) {}
  void Attach(HWND dialog) { dialog_ = dialog; }

  int GetCheck(ControlId id) override;
  void SetCheck(ControlId id, int state) override;
  void SetTrackBarRange(ControlId id, int low, int high) override;
  void SetTrackBarPos(ControlId id, int position) override;
  int GetTrackBarPos(ControlId id) override;
  void SetText(ControlId id, std::u16string_view text) override;
  std::u16string GetText(ControlId id) override;
  void Enable(ControlId id, bool enable) override;
  bool IsEnabled(ControlId id) override;
  void SetShield(ControlId id, bool shield) override;
  void ComboResetContent(ControlId id) override;
  int ComboAddString(ControlId id, std::u16string_view text) override;
  void ComboSetItemData(ControlId id, int index, std::intptr_t data) override;
  std::intptr_t ComboGetItemData(ControlId id, int index) override;
  void ComboSetCurSel(ControlId id, int index) override;
  int ComboGetCurSel(ControlId id) override;
  int ComboGetCount(ControlId id) override;
  std::u16string ComboGetText(ControlId id, int index) override;

 private:
  LRESULT Send(ControlId id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  HWND dialog_;
};

}  // namespace glimmer::win32
