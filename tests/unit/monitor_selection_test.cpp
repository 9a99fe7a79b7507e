#include "display/monitor_selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_dialog_controls.h"
#include "fakes/fake_direct3d9.h"
#include "fakes/fake_monitors.h"
#include "platform/text.h"
#include "resource_ids.h"
#include "settings/monitor_controls.h"

namespace glimmer {
namespace {

namespace stagings = fakes::stagings;
using fakes::FakeD3dAdapter;
using fakes::FakeDialogControls;
using Texts = std::vector<std::u16string>;

class MonitorSelectionTest : public testing::Test {
 protected:
  MonitorSelectionTest() { settings_ = std::make_unique<Node>(); }

  // The product's template lacks the mode controls; other dialogs have them.
  void AddModeControls() {
    controls_.Add(IDC_MODE_LIST, FakeDialogControls::Kind::Combo);
    controls_.Add(IDC_DESKTOP_RESOLUTION, FakeDialogControls::Kind::CheckBox);
  }

  // The inventory of adapters, with the settings' defaults for these keys.
  void Load(std::vector<FakeD3dAdapter> adapters) {
    direct3d9_.adapters = std::move(adapters);
    monitors_ = fakes::FakeMonitors();
    monitors_.AddForAdapters(direct3d9_.adapters);
    inventory_.EnumerateDisplayAdapters(*settings_, {});
    Settings()[u"EnableMultiMonitorMode"] = 1;
    Settings()[u"ShowBlackScreens"] = 1;
    Settings()[u"UseDesktopRes"] = 1;
  }

  void Fill() {
    FillMonitorList(inventory_, Settings(), controls_, catalog_);
    FillModeList(inventory_, Settings(), controls_);
  }

  // Picks the entry of the monitor list with this text, as the user does.
  void Choose(ControlId id, std::u16string_view text) {
    const Texts texts = controls_.ComboTexts(id);
    for (std::size_t i = 0; i < texts.size(); ++i)
      if (texts[i] == text) controls_.ComboSetCurSel(id, static_cast<int>(i));
    ASSERT_EQ(controls_.ComboSelectedText(id), text);
  }

  Node& Settings() { return *settings_; }
  std::int32_t Int(std::u16string_view key) { return Settings()[key].AsInt(); }
  bool Has(std::u16string_view key) { return Settings().Has(key, ValueType::Int); }

  fakes::FakeDirect3D9Port direct3d9_;
  fakes::FakeMonitors monitors_;
  std::unique_ptr<Node> settings_;
  DisplayInventory inventory_{direct3d9_, monitors_};
  TextCatalog catalog_;
  FakeDialogControls controls_ = FakeDialogControls::SettingsDialog();
};

struct MonitorListCase {
  const char* name;
  std::vector<FakeD3dAdapter> adapters;
  std::int32_t curMonitor;
  std::int32_t multiMonitor;
  Texts entries;
  std::u16string selected;
  bool enabled;
  std::int32_t curMonitorAfter;
};

TEST_F(MonitorSelectionTest, MonitorListShowsTheMonitorsAndTheGroup) {
  const std::vector<MonitorListCase> cases = {
      {"one monitor", stagings::WineLike(), 0, 1, {u"Monitor 1"}, u"Monitor 1", false, 0},
      {"dual head, defaults",
       stagings::DualHead(),
       0,
       1,
       {u"Monitor 1", u"Monitor 2", u"Multi-monitor"},
       u"Multi-monitor",
       true,
       0},
      {"dual head, single monitor 1",
       stagings::DualHead(),
       1,
       0,
       {u"Monitor 1", u"Monitor 2", u"Multi-monitor"},
       u"Monitor 2",
       true,
       1},
      {"Wine, two monitors, defaults",
       stagings::WineTwoMonitors(),
       0,
       1,
       {u"Monitor 1", u"Monitor 2", u"Multi-monitor"},
       u"Multi-monitor",
       true,
       0},
      // Separate cards form no group: no multi-monitor entry, even when saved.
      {"two cards",
       stagings::TwoAdapters(),
       1,
       1,
       {u"Monitor 1", u"Monitor 2"},
       u"Monitor 2",
       true,
       1},
      {"monitor removed since",
       stagings::TwoAdapters(),
       2,
       0,
       {u"Monitor 1", u"Monitor 2"},
       u"Monitor 1",
       true,
       0},
      {"negative monitor",
       stagings::TwoAdapters(),
       -1,
       0,
       {u"Monitor 1", u"Monitor 2"},
       u"Monitor 1",
       true,
       0},
      // Nothing to validate against: the saved index stays.
      {"no Direct3D", {}, 5, 1, {}, u"", false, 5},
  };
  for (const MonitorListCase& c : cases) {
    SCOPED_TRACE(c.name);
    settings_ = std::make_unique<Node>();
    controls_ = FakeDialogControls::SettingsDialog();
    Load(c.adapters);
    Settings()[u"CurMonitor"] = c.curMonitor;
    Settings()[u"EnableMultiMonitorMode"] = c.multiMonitor;
    Fill();
    EXPECT_EQ(controls_.ComboTexts(IDC_MONITOR_LIST), c.entries);
    EXPECT_EQ(controls_.ComboSelectedText(IDC_MONITOR_LIST), c.selected);
    EXPECT_EQ(controls_.IsEnabled(IDC_MONITOR_LIST), c.enabled);
    EXPECT_EQ(controls_.IsEnabled(IDC_BLANK_SCREENS), c.enabled);
    EXPECT_EQ(Int(u"CurMonitor"), c.curMonitorAfter);
    EXPECT_EQ(Int(u"EnableMultiMonitorMode"), c.multiMonitor) << "filling writes no choice";
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
      const std::intptr_t data = controls_.ComboGetItemData(IDC_MONITOR_LIST, static_cast<int>(i));
      EXPECT_EQ(data, c.entries[i] == u"Multi-monitor" ? 1000 : static_cast<std::intptr_t>(i));
    }
  }
}

TEST_F(MonitorSelectionTest, BlankScreensBoxFollowsTheSettingBothWays) {
  Load(stagings::DualHead());
  for (std::int32_t value : {0, 1}) {
    Settings()[u"ShowBlackScreens"] = value;
    Fill();
    EXPECT_EQ(controls_.GetCheck(IDC_BLANK_SCREENS), value);
    controls_.SetCheck(IDC_BLANK_SCREENS, 1 - value);
    OnBlankScreensClicked(Settings(), controls_);
    EXPECT_EQ(Int(u"ShowBlackScreens"), 1 - value);
  }
}

TEST_F(MonitorSelectionTest, ChoosingAnEntryWritesTheModeAndTheMonitorAtOnce) {
  Load(stagings::DualHead());
  Settings()[u"EnableMultiMonitorMode"] = 0;
  Settings()[u"CurMonitor"] = 1;
  Fill();
  EXPECT_TRUE(controls_.IsEnabled(IDC_BLANK_SCREENS));

  struct Step {
    std::u16string entry;
    std::int32_t multiMonitor, curMonitor;
    bool blankScreensEnabled;
  };
  const Step steps[] = {
      {u"Multi-monitor", 1, 0, false},
      {u"Monitor 2", 0, 1, true},
      {u"Monitor 1", 0, 0, true},
      {u"Multi-monitor", 1, 0, false},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(ToUtf8(step.entry));
    Choose(IDC_MONITOR_LIST, step.entry);
    OnMonitorChosen(inventory_, Settings(), controls_);
    EXPECT_EQ(Int(u"EnableMultiMonitorMode"), step.multiMonitor);
    EXPECT_EQ(Int(u"CurMonitor"), step.curMonitor);
    EXPECT_EQ(controls_.IsEnabled(IDC_BLANK_SCREENS), step.blankScreensEnabled);
  }

  // A list without a selection chooses nothing.
  controls_.ComboSetCurSel(IDC_MONITOR_LIST, -1);
  Settings()[u"CurMonitor"] = 1;
  Settings()[u"EnableMultiMonitorMode"] = 0;
  OnMonitorChosen(inventory_, Settings(), controls_);
  EXPECT_EQ(Int(u"CurMonitor"), 1);
  EXPECT_EQ(Int(u"EnableMultiMonitorMode"), 0);
  EXPECT_FALSE(controls_.IsEnabled(IDC_BLANK_SCREENS)) << "left as the last choice set it";
}

TEST_F(MonitorSelectionTest, MonitorEntryTextIsCutAtSeventyNineUnits) {
  const std::u16string emoji = u"\U0001F600";
  struct Row {
    std::u16string name;
    std::u16string shown;
  };
  const std::u16string a78(78, u'a');
  const Row rows[] = {
      {std::u16string(79, u'a'), std::u16string(79, u'a')},
      {std::u16string(120, u'a'), std::u16string(79, u'a')},
      {a78 + emoji, a78},                              // the pair would straddle the end
      {u"100% Monitor %s %i", u"100% Monitor %s %i"},  // a name is no format
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(ToUtf8(row.name));
    controls_ = FakeDialogControls::SettingsDialog();
    direct3d9_.adapters = stagings::WineLike();
    monitors_ = fakes::FakeMonitors();
    monitors_.Add(direct3d9_.adapters[0].monitor, ScreenRect{0, 0, 1024, 768}, u"\\\\.\\DISPLAY1",
                  row.name, kDisplayDeviceActive);
    ASSERT_EQ(inventory_.EnumerateDisplayAdapters(Settings(), {}), kSOk);
    FillMonitorList(inventory_, Settings(), controls_, catalog_);
    EXPECT_EQ(controls_.ComboTexts(IDC_MONITOR_LIST), Texts{row.shown});
  }
}

struct ModeListCase {
  const char* name;
  std::vector<FakeD3dAdapter> adapters;
  std::int32_t curMonitor;
  std::int32_t useDesktop;
  std::int32_t width, height;  // plain ModeWidth and ModeHeight
  Texts entries;
  std::u16string selected;
};

TEST_F(MonitorSelectionTest, ModeListShowsTheCurrentMonitorsModes) {
  std::vector<FakeD3dAdapter> dual = stagings::DualHead();
  dual[1].desktopMode = {1024, 768, 60, kD3dFmtX8R8G8B8};
  const Texts dualModes = {u"800 x 600 x 32", u"1024 x 768 x 32", u"1280 x 1024 x 32"};
  const std::vector<ModeListCase> cases = {
      {"desktop of monitor 0", dual, 0, 1, 0, 0, dualModes, u"1280 x 1024 x 32"},
      {"desktop of monitor 1", dual, 1, 1, 0, 0, dualModes, u"1024 x 768 x 32"},
      {"saved mode", dual, 0, 0, 800, 600, dualModes, u"800 x 600 x 32"},
      {"saved mode not offered", dual, 0, 0, 1600, 1200, dualModes, u"800 x 600 x 32"},
      // A 16-bit desktop matches no 32-bit mode: the first one is selected.
      {"16-bit desktop",
       stagings::SixteenBitDesktop(),
       0,
       1,
       0,
       0,
       {u"800 x 600 x 32", u"1024 x 768 x 32"},
       u"800 x 600 x 32"},
      {"monitor past the records", dual, 4, 1, 0, 0, {}, u""},
      {"no Direct3D", {}, 0, 1, 0, 0, {}, u""},
  };
  for (const ModeListCase& c : cases) {
    SCOPED_TRACE(c.name);
    settings_ = std::make_unique<Node>();
    controls_ = FakeDialogControls::SettingsDialog();
    AddModeControls();
    Load(c.adapters);
    Settings()[u"CurMonitor"] = c.curMonitor;
    Settings()[u"UseDesktopRes"] = c.useDesktop;
    Settings()[u"ModeWidth"] = c.width;
    Settings()[u"ModeHeight"] = c.height;
    Settings()[u"ModeFormat"] = kD3dFmtX8R8G8B8;
    FillModeList(inventory_, Settings(), controls_);
    EXPECT_EQ(controls_.ComboTexts(IDC_MODE_LIST), c.entries);
    EXPECT_EQ(controls_.ComboSelectedText(IDC_MODE_LIST), c.selected);
    EXPECT_EQ(controls_.GetCheck(IDC_DESKTOP_RESOLUTION), c.useDesktop);
    EXPECT_EQ(controls_.IsEnabled(IDC_MODE_LIST), c.useDesktop == 0);
    for (int i = 0; i < controls_.ComboGetCount(IDC_MODE_LIST); ++i)
      EXPECT_EQ(controls_.ComboGetItemData(IDC_MODE_LIST, i), i);
  }
}

// Monitor 0 lives in the plain keys; monitor n reads its own keys and falls
// back to the plain ones until it has its own, and writes only its own.
TEST_F(MonitorSelectionTest, PerMonitorKeysWriteSuffixedAndFallBackToPlain) {
  struct Row {
    std::int32_t monitor;
    std::u16string written;
  };
  for (const Row& row : {Row{0, u"ModeWidth"}, Row{-3, u"ModeWidth"}, Row{1, u"ModeWidth1"},
                         Row{12, u"ModeWidth12"}})
    EXPECT_EQ(PerMonitorKeyToWrite(u"ModeWidth", row.monitor), row.written) << row.monitor;

  AddModeControls();
  Load(stagings::DualHead());
  Settings()[u"UseDesktopRes"] = 0;
  Settings()[u"ModeWidth"] = 1024;
  Settings()[u"ModeHeight"] = 768;
  Settings()[u"ModeFormat"] = kD3dFmtX8R8G8B8;
  Settings()[u"CurMonitor"] = 1;
  Fill();
  EXPECT_EQ(controls_.ComboSelectedText(IDC_MODE_LIST), u"1024 x 768 x 32");

  Choose(IDC_MODE_LIST, u"1280 x 1024 x 32");
  OnModeChosen(inventory_, Settings(), controls_);
  EXPECT_EQ(Int(u"ModeWidth1"), 1280);
  EXPECT_EQ(Int(u"ModeHeight1"), 1024);
  EXPECT_EQ(Int(u"ModeFormat1"), kD3dFmtX8R8G8B8);
  EXPECT_EQ(Int(u"ModeWidth"), 1024);
  EXPECT_EQ(Int(u"ModeHeight"), 768);
  EXPECT_EQ(inventory_.FirstDevice(1)->currentMode, 2u);
  EXPECT_EQ(inventory_.FirstDevice(0)->currentMode, 0u);

  // Monitor 0 writes the plain keys, which monitor 1 no longer reads.
  Settings()[u"CurMonitor"] = 0;
  FillModeList(inventory_, Settings(), controls_);
  Choose(IDC_MODE_LIST, u"800 x 600 x 32");
  OnModeChosen(inventory_, Settings(), controls_);
  EXPECT_EQ(Int(u"ModeWidth"), 800);
  EXPECT_FALSE(Has(u"ModeWidth0"));
  Settings()[u"CurMonitor"] = 1;
  FillModeList(inventory_, Settings(), controls_);
  EXPECT_EQ(controls_.ComboSelectedText(IDC_MODE_LIST), u"1280 x 1024 x 32");

  // An Unset own key falls back too (a lookup leaves one behind).
  Settings()[u"UseDesktopRes2"];
  EXPECT_EQ(ReadPerMonitor(Settings(), u"UseDesktopRes", 2).AsInt(), 0);
  Settings()[u"UseDesktopRes"] = 1;
  EXPECT_EQ(ReadPerMonitor(Settings(), u"UseDesktopRes", 2).AsInt(), 1);
}

TEST_F(MonitorSelectionTest, DesktopResolutionBoxWritesTheMonitorsKeyAndReselects) {
  AddModeControls();
  std::vector<FakeD3dAdapter> dual = stagings::DualHead();
  dual[1].desktopMode = {1024, 768, 60, kD3dFmtX8R8G8B8};
  Load(dual);
  Settings()[u"CurMonitor"] = 1;
  Settings()[u"UseDesktopRes"] = 0;
  Fill();
  Choose(IDC_MODE_LIST, u"800 x 600 x 32");
  OnModeChosen(inventory_, Settings(), controls_);

  struct Step {
    int check;
    std::u16string selected;
  };
  for (const Step& step : {Step{1, u"1024 x 768 x 32"}, Step{0, u"800 x 600 x 32"}}) {
    controls_.SetCheck(IDC_DESKTOP_RESOLUTION, step.check);
    OnDesktopResolutionClicked(inventory_, Settings(), controls_);
    EXPECT_EQ(Int(u"UseDesktopRes1"), step.check);
    EXPECT_EQ(Int(u"UseDesktopRes"), 0) << "monitor 0's key is left alone";
    EXPECT_EQ(controls_.IsEnabled(IDC_MODE_LIST), step.check == 0);
    EXPECT_EQ(controls_.ComboSelectedText(IDC_MODE_LIST), step.selected);
  }
}

// Indexes from the settings or a list that name no record: no mode, position
// 0, nothing written, and nothing read past the inventory.
TEST_F(MonitorSelectionTest, IndexesPastTheRecordsReadAsNoRecord) {
  struct Row {
    const char* name;
    std::vector<FakeD3dAdapter> adapters;
    std::int32_t curMonitor;
  };
  const std::vector<Row> rows = {
      {"empty inventory, monitor 3", {}, 3},
      {"empty inventory, monitor 0", {}, 0},
      {"one monitor, monitor 9", stagings::WineLike(), 9},
      {"one monitor, monitor 10", stagings::WineLike(), 10},
      {"one monitor, monitor -1", stagings::WineLike(), -1},
      {"one monitor, monitor 2^31-1", stagings::WineLike(), 0x7FFFFFFF},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    settings_ = std::make_unique<Node>();
    controls_ = FakeDialogControls::SettingsDialog();
    AddModeControls();
    Load(row.adapters);
    Settings()[u"CurMonitor"] = row.curMonitor;
    FillModeList(inventory_, Settings(), controls_);
    EXPECT_EQ(controls_.ComboGetCount(IDC_MODE_LIST), 0);

    // A mode list entry left over from another monitor.
    controls_.ComboSetItemData(IDC_MODE_LIST, controls_.ComboAddString(IDC_MODE_LIST, u"stale"), 0);
    controls_.ComboSetCurSel(IDC_MODE_LIST, 0);
    OnModeChosen(inventory_, Settings(), controls_);
    for (const char16_t* key : {u"ModeWidth", u"ModeHeight", u"ModeFormat"}) {
      EXPECT_FALSE(Has(key)) << ToUtf8(key);
      EXPECT_FALSE(Has(PerMonitorKeyToWrite(key, row.curMonitor))) << ToUtf8(key);
    }

    controls_.SetCheck(IDC_DESKTOP_RESOLUTION, 1);
    OnDesktopResolutionClicked(inventory_, Settings(), controls_);
    EXPECT_EQ(Int(PerMonitorKeyToWrite(u"UseDesktopRes", row.curMonitor)), 1)
        << "the box's own key is still the user's choice";
    EXPECT_EQ(controls_.ComboGetCurSel(IDC_MODE_LIST), 0);
    controls_.SetCheck(IDC_DESKTOP_RESOLUTION, 0);
    OnDesktopResolutionClicked(inventory_, Settings(), controls_);
    EXPECT_EQ(controls_.ComboGetCurSel(IDC_MODE_LIST), 0);
  }
}

TEST_F(MonitorSelectionTest, ModeChoicesThatNameNoModeWriteNothing) {
  AddModeControls();
  Load(stagings::DualHead());
  Settings()[u"CurMonitor"] = 0;
  Fill();
  struct Row {
    const char* name;
    int selection;
    std::intptr_t data;
  };
  const Row rows[] = {
      {"no selection", -1, 0},
      {"past the modes", 0, 3},
      {"far past the modes", 0, 150},
      {"negative", 0, -5},
      {"past 32 bits", 0,
       static_cast<std::intptr_t>(sizeof(std::intptr_t) > 4 ? 0x100000001LL : -2)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    controls_.ComboSetItemData(IDC_MODE_LIST, 0, row.data);
    controls_.ComboSetCurSel(IDC_MODE_LIST, row.selection);
    OnModeChosen(inventory_, Settings(), controls_);
    EXPECT_FALSE(Has(u"ModeWidth"));
    EXPECT_EQ(inventory_.FirstDevice(0)->currentMode, 0u);
  }
}

// The product's template has no mode controls: their operations still run,
// and every read of the missing controls gives 0, as a null handle does.
TEST_F(MonitorSelectionTest, AbsentModeControlsBehaveAsNullHandles) {
  Load(stagings::DualHead());
  Settings()[u"UseDesktopRes"] = 0;
  Fill();
  EXPECT_FALSE(controls_.Has(IDC_MODE_LIST));
  EXPECT_EQ(controls_.ComboGetCount(IDC_MODE_LIST), 0);

  // A mode command for the missing list reads entry 0, item data 0.
  Settings()[u"CurMonitor"] = 1;
  OnModeChosen(inventory_, Settings(), controls_);
  EXPECT_EQ(Int(u"ModeWidth1"), 800);

  // The missing box reads unchecked.
  OnDesktopResolutionClicked(inventory_, Settings(), controls_);
  EXPECT_EQ(Int(u"UseDesktopRes1"), 0);
}

TEST(ModeBitDepth, ThirtyTwoSixteenOrZero) {
  const std::pair<std::int32_t, std::int32_t> rows[] = {
      {20, 0}, {21, 32}, {22, 32}, {23, 16}, {24, 16}, {25, 0}, {0, 0}, {-22, 0}, {75, 0}};
  for (auto [format, bits] : rows) EXPECT_EQ(ModeBitDepth(format), bits) << format;
}

}  // namespace
}  // namespace glimmer
