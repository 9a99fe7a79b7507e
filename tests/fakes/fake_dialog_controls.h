// A dialog's controls in memory, with the behaviour of the real ones that the
// dialogs rely on: check boxes, track bars (range clamps the position),
// statics, buttons and combo boxes (sorted ones place an entry by its text,
// case-insensitively). An id that was never added behaves as a control that
// the dialog template lacks: setting does nothing and every reading is 0.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "dialog/dialog_controls.h"

namespace glimmer::fakes {

class FakeDialogControls : public DialogControls {
 public:
  enum class Kind { CheckBox, TrackBar, Static, Button, Combo, SortedCombo };

  void Add(ControlId id, Kind kind, std::u16string_view text = {});
  // The controls of the settings dialog's template 2003.
  static FakeDialogControls SettingsDialog();
  bool Has(ControlId id) const { return controls_.count(id) != 0; }

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

  // The texts of a combo box's entries in list order, for checks.
  std::vector<std::u16string> ComboTexts(ControlId id);
  // The selected entry's text, "" when none.
  std::u16string ComboSelectedText(ControlId id);
  // Whether a button carries the UAC shield.
  bool Shielded(ControlId id);

 private:
  struct Entry {
    std::u16string text;
    std::intptr_t data = 0;
  };
  struct Control {
    Kind kind = Kind::Static;
    std::u16string text;
    bool enabled = true;
    bool shield = false;
    int check = 0;
    int low = 0;
    int high = 100;
    int position = 0;
    std::vector<Entry> entries;
    int selection = kCbErr;
  };
  Control* Find(ControlId id);
  Control* FindCombo(ControlId id);

  std::map<ControlId, Control> controls_;
};

}  // namespace glimmer::fakes
