#include "contract/dialog_controls_contract.h"

#include <vector>

namespace glimmer::contract {
namespace {

std::vector<std::u16string> Entries(DialogControls& controls, ControlId combo) {
  std::vector<std::u16string> texts;
  for (int i = 0; i < controls.ComboGetCount(combo); ++i)
    texts.push_back(controls.ComboGetText(combo, i));
  return texts;
}

TEST_P(DialogControlsContract, AnAbsentControlIgnoresEverySettingAndReadsZero) {
  DialogControls& c = Controls();
  c.SetCheck(kAbsent, 1);
  c.SetTrackBarRange(kAbsent, 0, 100);
  c.SetTrackBarPos(kAbsent, 50);
  c.SetText(kAbsent, u"text");
  c.Enable(kAbsent, true);
  EXPECT_EQ(c.ComboAddString(kAbsent, u"entry"), 0);
  c.ComboSetCurSel(kAbsent, 0);
  EXPECT_EQ(c.GetCheck(kAbsent), 0);
  EXPECT_EQ(c.GetTrackBarPos(kAbsent), 0);
  EXPECT_EQ(c.GetText(kAbsent), u"");
  EXPECT_FALSE(c.IsEnabled(kAbsent));
  // A null handle answers 0, not the list's error value.
  EXPECT_EQ(c.ComboGetCurSel(kAbsent), 0);
  EXPECT_EQ(c.ComboGetItemData(kAbsent, 0), 0);
  EXPECT_EQ(c.ComboGetCount(kAbsent), 0);
}

TEST_P(DialogControlsContract, CheckBoxesTextsAndEnableStatesReadBackWhatWasSet) {
  DialogControls& c = Controls();
  EXPECT_EQ(c.GetCheck(kCheckBox), 0);
  c.SetCheck(kCheckBox, 1);
  EXPECT_EQ(c.GetCheck(kCheckBox), 1);
  c.SetCheck(kCheckBox, 0);
  EXPECT_EQ(c.GetCheck(kCheckBox), 0);
  c.SetText(kStatic, u"Lautst\u00e4rke: 40%");
  EXPECT_EQ(c.GetText(kStatic), u"Lautst\u00e4rke: 40%");
  EXPECT_TRUE(c.IsEnabled(kStatic));
  c.Enable(kStatic, false);
  EXPECT_FALSE(c.IsEnabled(kStatic));
  c.Enable(kStatic, true);
  EXPECT_TRUE(c.IsEnabled(kStatic));
}

TEST_P(DialogControlsContract, APushButtonIsToldOfTheShield) {
  DialogControls& c = Controls();
  EXPECT_FALSE(Under().Shielded());
  c.SetShield(kButton, true);
  EXPECT_TRUE(Under().Shielded());
  c.SetShield(kButton, false);
  EXPECT_FALSE(Under().Shielded());
  c.SetShield(kAbsent, true);
}

TEST_P(DialogControlsContract, ATrackBarKeepsItsPositionInsideItsRange) {
  DialogControls& c = Controls();
  c.SetTrackBarRange(kTrackBar, 0, 100);
  for (const auto& [set, read] : {std::pair{40, 40}, {0, 0}, {100, 100}, {150, 100}, {-5, 0}}) {
    c.SetTrackBarPos(kTrackBar, set);
    EXPECT_EQ(c.GetTrackBarPos(kTrackBar), read) << set;
  }
  c.SetTrackBarPos(kTrackBar, 80);
  c.SetTrackBarRange(kTrackBar, 0, 50);
  EXPECT_EQ(c.GetTrackBarPos(kTrackBar), 50);
}

TEST_P(DialogControlsContract, ASortedComboPlacesEntriesByTextAndKeepsTheirData) {
  DialogControls& c = Controls();
  for (int count : {2, 16, 4, 8}) {
    const std::u16string text = count == 2    ? u"2x"
                                : count == 16 ? u"16x"
                                : count == 4  ? u"4x"
                                              : u"8x";
    const int at = c.ComboAddString(kSortedCombo, text);
    ASSERT_GE(at, 0);
    c.ComboSetItemData(kSortedCombo, at, count);
  }
  EXPECT_EQ(Entries(c, kSortedCombo), (std::vector<std::u16string>{u"16x", u"2x", u"4x", u"8x"}));
  EXPECT_EQ(c.ComboGetItemData(kSortedCombo, 0), 16);
  EXPECT_EQ(c.ComboGetItemData(kSortedCombo, 3), 8);
}

TEST_P(DialogControlsContract, AComboSelectionAndItsErrorValues) {
  DialogControls& c = Controls();
  EXPECT_EQ(c.ComboGetCurSel(kCombo), kCbErr);
  EXPECT_EQ(c.ComboGetItemData(kCombo, kCbErr), kCbErr);
  EXPECT_EQ(c.ComboAddString(kCombo, u"b"), 0);
  EXPECT_EQ(c.ComboAddString(kCombo, u"a"), 1);  // unsorted: appended
  c.ComboSetItemData(kCombo, 1, 1000);
  c.ComboSetCurSel(kCombo, 1);
  EXPECT_EQ(c.ComboGetCurSel(kCombo), 1);
  EXPECT_EQ(c.ComboGetItemData(kCombo, c.ComboGetCurSel(kCombo)), 1000);
  c.ComboSetCurSel(kCombo, -1);  // clears the selection
  EXPECT_EQ(c.ComboGetCurSel(kCombo), kCbErr);
  EXPECT_EQ(c.ComboGetItemData(kCombo, 2), kCbErr);
  c.ComboSetCurSel(kCombo, 0);
  c.ComboResetContent(kCombo);
  EXPECT_EQ(c.ComboGetCount(kCombo), 0);
  EXPECT_EQ(c.ComboGetCurSel(kCombo), kCbErr);
}

}  // namespace
}  // namespace glimmer::contract
