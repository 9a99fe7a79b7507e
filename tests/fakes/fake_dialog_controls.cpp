#include "fakes/fake_dialog_controls.h"

#include <algorithm>

#include "resource_ids.h"

namespace glimmer::fakes {
namespace {

char16_t Folded(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool LessIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return Folded(x) < Folded(y); });
}

}  // namespace

void FakeDialogControls::Add(ControlId id, Kind kind, std::u16string_view text) {
  Control control;
  control.kind = kind;
  control.text = std::u16string(text);
  controls_[id] = control;
}

FakeDialogControls FakeDialogControls::SettingsDialog() {
  FakeDialogControls c;
  for (ControlId id : {IDC_BLANK_SCREENS, IDC_EXIT_ON_MOUSE_MOVE, IDC_ANTIALIASING,
                       IDC_RUN_AT_STARTUP, IDC_ENABLE_SOUNDS, IDC_ENABLE_MUSIC, IDC_PLAY_MY_MUSIC})
    c.Add(id, Kind::CheckBox);
  c.Add(IDC_MONITOR_LIST, Kind::Combo);
  c.Add(IDC_ANTIALIASING_LIST, Kind::SortedCombo);
  c.Add(IDC_ANTIALIASING_LABEL, Kind::Static, u"Antialiasing quality:");
  c.Add(IDC_SOUNDS_VOLUME_LABEL, Kind::Static, u"Sounds volume: 100%");
  c.Add(IDC_MUSIC_VOLUME_LABEL, Kind::Static, u"Music volume: 100%");
  c.Add(IDC_PRODUCTS_TEXT, Kind::Static);
  c.Add(IDC_MONITOR_GROUP, Kind::Static);
  c.Add(IDC_SOUNDS_VOLUME, Kind::TrackBar);
  c.Add(IDC_MUSIC_VOLUME, Kind::TrackBar);
  for (ControlId id : {IDC_EDIT_PLAYLIST, IDC_VISIT, IDC_RESTORE_DEFAULTS, 1, 2})
    c.Add(id, Kind::Button);
  return c;
}

FakeDialogControls::Control* FakeDialogControls::Find(ControlId id) {
  auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : &found->second;
}

FakeDialogControls::Control* FakeDialogControls::FindCombo(ControlId id) {
  Control* control = Find(id);
  return control && (control->kind == Kind::Combo || control->kind == Kind::SortedCombo) ? control
                                                                                         : nullptr;
}

int FakeDialogControls::GetCheck(ControlId id) {
  Control* control = Find(id);
  return control && control->kind == Kind::CheckBox ? control->check : 0;
}

void FakeDialogControls::SetCheck(ControlId id, int state) {
  if (Control* control = Find(id); control && control->kind == Kind::CheckBox)
    control->check = state;
}

void FakeDialogControls::SetTrackBarRange(ControlId id, int low, int high) {
  Control* control = Find(id);
  if (!control || control->kind != Kind::TrackBar) return;
  control->low = low;
  control->high = high;
  control->position = std::clamp(control->position, low, std::max(low, high));
}

void FakeDialogControls::SetTrackBarPos(ControlId id, int position) {
  Control* control = Find(id);
  if (!control || control->kind != Kind::TrackBar) return;
  control->position = std::clamp(position, control->low, std::max(control->low, control->high));
}

int FakeDialogControls::GetTrackBarPos(ControlId id) {
  Control* control = Find(id);
  return control && control->kind == Kind::TrackBar ? control->position : 0;
}

void FakeDialogControls::SetText(ControlId id, std::u16string_view text) {
  if (Control* control = Find(id)) control->text = std::u16string(text);
}

std::u16string FakeDialogControls::GetText(ControlId id) {
  Control* control = Find(id);
  return control ? control->text : std::u16string();
}

void FakeDialogControls::Enable(ControlId id, bool enable) {
  if (Control* control = Find(id)) control->enabled = enable;
}

void FakeDialogControls::SetShield(ControlId id, bool shield) {
  // Only push buttons draw one; anything else ignores the message.
  Control* control = Find(id);
  if (control && control->kind == Kind::Button) control->shield = shield;
}

bool FakeDialogControls::Shielded(ControlId id) {
  const Control* control = Find(id);
  return control && control->shield;
}

bool FakeDialogControls::IsEnabled(ControlId id) {
  Control* control = Find(id);
  return control && control->enabled;
}

void FakeDialogControls::ComboResetContent(ControlId id) {
  if (Control* combo = FindCombo(id)) {
    combo->entries.clear();
    combo->selection = kCbErr;
  }
}

int FakeDialogControls::ComboAddString(ControlId id, std::u16string_view text) {
  Control* combo = FindCombo(id);
  if (!combo) return 0;
  auto at = combo->entries.end();
  if (combo->kind == Kind::SortedCombo) {
    at = std::upper_bound(combo->entries.begin(), combo->entries.end(), text,
                          [](std::u16string_view value, const Entry& entry) {
                            return LessIgnoringCase(value, entry.text);
                          });
  }
  const int index = static_cast<int>(at - combo->entries.begin());
  combo->entries.insert(at, Entry{std::u16string(text), 0});
  if (combo->selection >= index) ++combo->selection;
  return index;
}

void FakeDialogControls::ComboSetItemData(ControlId id, int index, std::intptr_t data) {
  Control* combo = FindCombo(id);
  if (combo && index >= 0 && index < static_cast<int>(combo->entries.size()))
    combo->entries[static_cast<std::size_t>(index)].data = data;
}

std::intptr_t FakeDialogControls::ComboGetItemData(ControlId id, int index) {
  Control* combo = FindCombo(id);
  if (!combo) return 0;
  if (index < 0 || index >= static_cast<int>(combo->entries.size())) return kCbErr;
  return combo->entries[static_cast<std::size_t>(index)].data;
}

void FakeDialogControls::ComboSetCurSel(ControlId id, int index) {
  Control* combo = FindCombo(id);
  if (!combo) return;
  // Windows clears the selection for -1 and for a position past the end;
  // Wine keeps it for the latter. The dialogs only ever pass -1 or an entry.
  combo->selection = index >= 0 && index < static_cast<int>(combo->entries.size()) ? index : kCbErr;
}

int FakeDialogControls::ComboGetCurSel(ControlId id) {
  Control* combo = FindCombo(id);
  return combo ? combo->selection : 0;
}

int FakeDialogControls::ComboGetCount(ControlId id) {
  Control* combo = FindCombo(id);
  return combo ? static_cast<int>(combo->entries.size()) : 0;
}

std::u16string FakeDialogControls::ComboGetText(ControlId id, int index) {
  Control* combo = FindCombo(id);
  if (!combo || index < 0 || index >= static_cast<int>(combo->entries.size())) return {};
  return combo->entries[static_cast<std::size_t>(index)].text;
}

std::vector<std::u16string> FakeDialogControls::ComboTexts(ControlId id) {
  std::vector<std::u16string> texts;
  if (Control* combo = FindCombo(id))
    for (const Entry& entry : combo->entries) texts.push_back(entry.text);
  return texts;
}

std::u16string FakeDialogControls::ComboSelectedText(ControlId id) {
  return ComboGetText(id, ComboGetCurSel(id));
}

}  // namespace glimmer::fakes
