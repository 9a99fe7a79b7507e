// The settings dialog against fake controls, registry and wallpaper: the
// message routing, what the controls show, what OK saves, and what a running
// wallpaper is told.
#include "settings/settings_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "catalog_test_support.h"
#include "elevation/elevated_save.h"
#include "fakes/fake_dialog_controls.h"
#include "fakes/fake_platform.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "resource_ids.h"
#include "settings/settings_table.h"

namespace glimmer::tests {
namespace {

using fakes::FakeDialogControls;
using fakes::FakeRegistry;

constexpr std::u16string_view kSettingsPath = u"Software\\Vellumark\\Glimmerdale 3D Screensaver";
constexpr std::u16string_view kUninstallPath =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdale 3D Screensaver_is1";

class FakeHost : public DialogHost {
 public:
  explicit FakeHost(FakeDialogControls& controls) : controls_(controls) {}
  WindowHandle Window() override { return 0x4242; }
  DialogControls& Controls() override { return controls_; }
  ControlId ControlIdOf(WindowHandle control) override { return static_cast<ControlId>(control); }
  void EndDialog(std::intptr_t result) override { ended = result; }
  void SetTitle(std::u16string_view text) override { title = text; }
  void Show() override { shown = true; }
  void SetBigIcon() override { iconSet = true; }
  void DestroyBigIcon() override { iconDestroyed = true; }
  void PostQuitMessage(int code) override { quit = code; }
  void OpenWebPage(std::u16string_view url) override { pages.emplace_back(url); }
  void RunPlaylistEditor(Node&, TextCatalog&) override { ++playlistEditors; }

  std::optional<std::intptr_t> ended;
  std::u16string title;
  bool shown = false;
  bool iconSet = false;
  bool iconDestroyed = false;
  std::optional<int> quit;
  std::vector<std::u16string> pages;
  int playlistEditors = 0;

 private:
  FakeDialogControls& controls_;
};

// A track bar's WM_HSCROLL names it by its window handle; the fake host takes
// the control id for the handle.
DialogMessage Scroll(ControlId trackBar) {
  return {kWmHScroll, 0, static_cast<std::intptr_t>(trackBar)};
}

class SettingsDialogTest : public testing::Test {
 protected:
  SettingsDialogTest() { platform_.resources.Put(kCatalogResourceId, kRtRcdata, ShippedCatalog()); }

  // A running wallpaper: the window the dialog posts to.
  WindowHandle StartWallpaper() {
    return platform_.windows.Create(0, u"wallpaper", u"Direct3D Window");
  }
  // (code, value) of every live change posted so far.
  std::vector<std::pair<int, int>> Posted() const {
    std::vector<std::pair<int, int>> posted;
    for (const auto& message : platform_.windows.Posted())
      posted.emplace_back(static_cast<int>(message.wParam), static_cast<int>(message.lParam));
    return posted;
  }
  void Store(std::u16string_view name, std::u16string_view text) {
    platform_.registry.PutString(kHkeyLocalMachine, kSettingsPath, name, text);
  }
  std::optional<std::u16string> Stored(std::u16string_view name, RegKey root = kHkeyLocalMachine,
                                       std::u16string_view key = kSettingsPath) const {
    const auto raw = platform_.registry.Get(root, key, name);
    if (!raw) return std::nullopt;
    return TextFromRegistryBytes(raw->data.data(), raw->data.size());
  }
  std::intptr_t Send(const DialogMessage& message) {
    std::intptr_t result = -7;
    handled_ = dialog_.ProcessWindowMessage(message, result);
    return result;
  }
  void Open() { ASSERT_EQ(Send({kWmInitDialog, 0, 0}), 1); }
  void Click(ControlId id) {
    // An automatic check box toggles itself before its parent hears of it.
    if (controls_.Has(id) && id != IDC_EDIT_PLAYLIST && id != IDC_VISIT && id > 100)
      controls_.SetCheck(id, controls_.GetCheck(id) ? 0 : 1);
    Send(DialogMessage::Command(id, kBnClicked));
  }

  fakes::FakePlatform platform_;
  FakeDialogControls controls_ = FakeDialogControls::SettingsDialog();
  FakeHost host_{controls_};
  CSettingsDlg dialog_{host_, platform_.ports};
  bool handled_ = false;
};

TEST_F(SettingsDialogTest, OpeningShowsTheDefaultsTitleAndIconAndPostsNothing) {
  StartWallpaper();
  Open();
  EXPECT_EQ(host_.title, u"Glimmerdale 3D Screensaver 1.0 Configuration");
  EXPECT_TRUE(host_.shown);
  EXPECT_TRUE(host_.iconSet);
  EXPECT_TRUE(Posted().empty());

  EXPECT_EQ(controls_.GetCheck(IDC_EXIT_ON_MOUSE_MOVE), 0);  // DisableOnMouseActivate 1
  EXPECT_EQ(controls_.GetCheck(IDC_ENABLE_MUSIC), 1);
  EXPECT_EQ(controls_.GetCheck(IDC_ENABLE_SOUNDS), 1);
  EXPECT_EQ(controls_.GetCheck(IDC_PLAY_MY_MUSIC), 0);
  EXPECT_EQ(controls_.GetTrackBarPos(IDC_MUSIC_VOLUME), 15);
  EXPECT_EQ(controls_.GetTrackBarPos(IDC_SOUNDS_VOLUME), 15);
  EXPECT_EQ(controls_.GetText(IDC_MUSIC_VOLUME_LABEL), u"Music volume: 15%");
  EXPECT_EQ(controls_.GetText(IDC_SOUNDS_VOLUME_LABEL), u"Sounds volume: 15%");
  EXPECT_TRUE(controls_.IsEnabled(IDC_MUSIC_VOLUME));
  EXPECT_TRUE(controls_.IsEnabled(IDC_PLAY_MY_MUSIC));
  EXPECT_FALSE(controls_.IsEnabled(IDC_EDIT_PLAYLIST));  // music on, playlist off
  EXPECT_FALSE(controls_.IsEnabled(IDC_ANTIALIASING_LIST));
  EXPECT_FALSE(controls_.IsEnabled(IDC_ANTIALIASING_LABEL));
  // Nothing to choose from without Direct3D adapters.
  EXPECT_EQ(controls_.ComboGetCount(IDC_MONITOR_LIST), 0);
  EXPECT_FALSE(controls_.IsEnabled(IDC_MONITOR_LIST));
  EXPECT_FALSE(controls_.IsEnabled(IDC_BLANK_SCREENS));
}

TEST_F(SettingsDialogTest, StoredSettingsFillEveryControl) {
  Store(u"DisableOnMouseActivate", u"2: 0");
  Store(u"DisableMusic", u"2: 1");
  Store(u"UsePlaylist", u"2: 1");
  Store(u"MusicVolumePercentage", u"2: 0");
  Store(u"DisableSound", u"2: 1");
  Store(u"SoundsVolumePercentage", u"2: 100");
  Store(u"Antialiasing", u"2: 4");
  Store(u"ShowBlackScreens", u"2: 0");
  Open();
  EXPECT_EQ(controls_.GetCheck(IDC_EXIT_ON_MOUSE_MOVE), 1);
  EXPECT_EQ(controls_.GetCheck(IDC_ENABLE_MUSIC), 0);
  EXPECT_EQ(controls_.GetCheck(IDC_PLAY_MY_MUSIC), 1);
  EXPECT_EQ(controls_.GetText(IDC_MUSIC_VOLUME_LABEL), u"Music volume: 0%");
  EXPECT_EQ(controls_.GetText(IDC_SOUNDS_VOLUME_LABEL), u"Sounds volume: 100%");
  EXPECT_EQ(controls_.GetTrackBarPos(IDC_SOUNDS_VOLUME), 100);
  // Music off disables its track bar, label, "Play my music" and the editor
  // even though a playlist is in use.
  for (ControlId id : {IDC_MUSIC_VOLUME, IDC_MUSIC_VOLUME_LABEL, IDC_PLAY_MY_MUSIC,
                       IDC_EDIT_PLAYLIST, IDC_SOUNDS_VOLUME, IDC_SOUNDS_VOLUME_LABEL})
    EXPECT_FALSE(controls_.IsEnabled(id)) << id;
  EXPECT_EQ(controls_.GetCheck(IDC_ANTIALIASING), 1);
  EXPECT_TRUE(controls_.IsEnabled(IDC_ANTIALIASING_LIST));
  EXPECT_TRUE(controls_.IsEnabled(IDC_ANTIALIASING_LABEL));
  EXPECT_EQ(controls_.GetCheck(IDC_BLANK_SCREENS), 0);
}

TEST_F(SettingsDialogTest, FirstOkOnAnEmptyKeyWritesTheDefaults) {
  // A fast machine, whose hardware defaults are not all 0: 2600 MiB of video
  // memory (DirectDraw's answer, without WMI), 3001 MHz and a tall screen.
  platform_.directDraw.totalVideoMemory = 2600u << 20;
  platform_.system.tscReadings = {0, 3001ull * 50000 + 200'000, 0, 200'000};
  platform_.displayDevices.metrics[kSmCyFullScreen] = 1200;
  Open();
  Send(DialogMessage::Command(kIdOk, kBnClicked));
  EXPECT_TRUE(handled_);
  EXPECT_EQ(host_.ended, 0);
  const std::pair<std::u16string_view, std::u16string_view> expected[] = {
      {u"MusicVolumePercentage", u"2: 15"},
      {u"SoundsVolumePercentage", u"2: 15"},
      {u"DisableMusic", u"2: 0"},
      {u"DisableSound", u"2: 0"},
      {u"UsePlaylist", u"2: 0"},
      {u"DisableOnMouseActivate", u"2: 1"},
      // On by the hardware rule, but OK takes both from controls this
      // product's template lacks.
      {u"HighQualityGraphics", u"2: 0"},
      {u"HighQualityTextures", u"2: 0"},
      {u"MonitorAspectRatio", u"2: 4"},
      {u"ShufflePlayList", u"2: 1"},
      {u"EnableMultiMonitorMode", u"2: 1"},
      {u"ShowBlackScreens", u"2: 1"},
      {u"ShowFPS", u"2: 0"},
      {u"UseDesktopRes", u"2: 1"},
      // On by the hardware rule, no count to choose without Direct3D 11.
      {u"Antialiasing", u"2: 1"},
  };
  for (const auto& [name, text] : expected) EXPECT_EQ(Stored(name), text) << ToUtf8(name);
  EXPECT_TRUE(platform_.ui.boxes.empty());
}

TEST_F(SettingsDialogTest, ValuesWithoutControlsSurviveOkUnchanged) {
  Store(u"Language", u"3: de");
  Store(u"MonitorAspectRatio", u"2: 7");
  Store(u"ShowFPS", u"2: 1");
  Store(u"CurMonitor", u"2: 0");
  Open();
  EXPECT_EQ(host_.title, u"Glimmerdale 3D Screensaver 1.0 Konfiguration");
  Send(DialogMessage::Command(kIdOk, kBnClicked));
  EXPECT_EQ(Stored(u"Language"), u"3: de");
  EXPECT_EQ(Stored(u"MonitorAspectRatio"), u"2: 7");
  EXPECT_EQ(Stored(u"ShowFPS"), u"2: 1");
}

TEST_F(SettingsDialogTest, CancelAndCloseRevertPostEverythingAndSaveNothing) {
  Store(u"MusicVolumePercentage", u"2: 70");
  StartWallpaper();
  for (const DialogMessage& end :
       {DialogMessage::Command(kIdCancel, kBnClicked), DialogMessage{kWmClose, 0, 0}}) {
    FakeDialogControls controls = FakeDialogControls::SettingsDialog();
    FakeHost host(controls);
    CSettingsDlg dialog(host, platform_.ports);
    std::intptr_t result = 0;
    dialog.ProcessWindowMessage({kWmInitDialog, 0, 0}, result);
    controls.SetTrackBarPos(IDC_MUSIC_VOLUME, 40);
    const std::size_t before = platform_.windows.Posted().size();
    EXPECT_TRUE(dialog.ProcessWindowMessage(end, result));
    EXPECT_EQ(host.ended, 0);
    EXPECT_EQ(controls.GetTrackBarPos(IDC_MUSIC_VOLUME), 70);
    const auto posted = Posted();
    ASSERT_EQ(posted.size() - before, 7u);
    const std::vector<std::pair<int, int>> expected = {{6, 0}, {1, 70}, {2, 1}, {3, 15},
                                                       {4, 1}, {0, 0},  {5, 0}};
    EXPECT_EQ(std::vector(posted.begin() + static_cast<long>(before), posted.end()), expected);
  }
  EXPECT_FALSE(Stored(u"MusicVolumePercentage") != u"2: 70");
  EXPECT_FALSE(Stored(u"SoundsVolumePercentage").has_value());
}

TEST_F(SettingsDialogTest, RestoreDefaultsThenCancelLeavesTheRegistryAsItWas) {
  Store(u"MusicVolumePercentage", u"2: 70");
  Store(u"DisableMusic", u"2: 1");
  Store(u"UsePlaylist", u"2: 1");
  Store(u"DisableOnMouseActivate", u"2: 0");
  StartWallpaper();
  Open();
  Click(IDC_RESTORE_DEFAULTS);
  EXPECT_EQ(controls_.GetTrackBarPos(IDC_MUSIC_VOLUME), 15);
  EXPECT_EQ(controls_.GetCheck(IDC_ENABLE_MUSIC), 1);
  EXPECT_EQ(controls_.GetCheck(IDC_PLAY_MY_MUSIC), 0);
  EXPECT_EQ(controls_.GetCheck(IDC_EXIT_ON_MOUSE_MOVE), 0);
  const std::vector<std::pair<int, int>> defaults = {{6, 0}, {1, 15}, {2, 1}, {3, 15},
                                                     {4, 1}, {0, 0},  {5, 0}};
  EXPECT_EQ(Posted(), defaults);
  EXPECT_EQ(Stored(u"MusicVolumePercentage"), u"2: 70");
  Send(DialogMessage::Command(kIdCancel, kBnClicked));
  EXPECT_EQ(platform_.registry.ValueNames(kHkeyLocalMachine, kSettingsPath).size(), 4u);
  EXPECT_EQ(Stored(u"MusicVolumePercentage"), u"2: 70");
  EXPECT_EQ(Stored(u"DisableMusic"), u"2: 1");
}

TEST_F(SettingsDialogTest, RestoreDefaultsThenOkResetsWhatHasNoControl) {
  Store(u"MonitorAspectRatio", u"2: 1");
  Store(u"ShufflePlayList", u"2: 0");
  Store(u"ShowFPS", u"2: 1");
  Open();
  Click(IDC_RESTORE_DEFAULTS);
  Send(DialogMessage::Command(kIdOk, kBnClicked));
  EXPECT_EQ(Stored(u"MonitorAspectRatio"), u"2: 4");
  EXPECT_EQ(Stored(u"ShufflePlayList"), u"2: 1");
  EXPECT_EQ(Stored(u"ShowFPS"), u"2: 0");
}

// Opening and "Restore Defaults" each query Direct3D several times; one object
// is held across each run, so that the Windows port sets up its adapters once.
// Both measure the hardware for about a second: under the wait cursor, with
// one Direct3D object held across their queries.
TEST_F(SettingsDialogTest, OpeningAndRestoreDefaultsMeasureUnderTheWaitCursorWithOneDirect3D) {
  platform_.direct3d9.adapters = fakes::stagings::WineLike();
  auto& asked = platform_.direct3d9.liveAtCreate;
  struct Change {
    CursorHandle cursor;
    std::int64_t clockReads;
    std::size_t direct3dObjects;
  };
  std::vector<Change> changes;
  platform_.ui.onCursorChange = [&] {
    changes.push_back({platform_.ui.cursor, platform_.system.counterReads, asked.size()});
  };
  for (const auto& run : {std::function<void()>([this] { Open(); }),
                          std::function<void()>([this] { Click(IDC_RESTORE_DEFAULTS); })}) {
    const std::size_t first = asked.size();
    changes.clear();
    run();
    ASSERT_GT(asked.size(), first + 2);
    EXPECT_EQ(asked[first], 0);
    for (std::size_t i = first + 1; i < asked.size(); ++i) EXPECT_GE(asked[i], 1) << i;
    EXPECT_EQ(platform_.direct3d9.live, 0);

    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].cursor, fakes::FakeUi::kWait);
    EXPECT_EQ(changes[0].direct3dObjects, first);
    EXPECT_EQ(changes[1].cursor, fakes::FakeUi::kArrow);
    EXPECT_GT(changes[1].clockReads, changes[0].clockReads) << "the clock measured meanwhile";
    EXPECT_EQ(changes[1].direct3dObjects, asked.size());
  }
}

// Every row of the dialog's routing: what each message or command does, and
// whether it counts as handled.
TEST_F(SettingsDialogTest, RoutingTable) {
  struct Row {
    const char* what;
    DialogMessage message;
    bool handled;
    std::vector<int> codes;  // live changes posted
    bool ends;
  };
  const Row rows[] = {
      {"OK", DialogMessage::Command(kIdOk, kBnClicked), true, {}, true},
      {"id 1, another code", DialogMessage::Command(kIdOk, 1), false, {}, false},
      {"Cancel", DialogMessage::Command(kIdCancel, kBnClicked), true, {6, 1, 2, 3, 4, 0, 5}, true},
      {"close box", {kWmClose, 0, 0}, true, {6, 1, 2, 3, 4, 0, 5}, true},
      {"Enable music", DialogMessage::Command(IDC_ENABLE_MUSIC, kBnClicked), true, {2}, false},
      {"Enable sounds", DialogMessage::Command(IDC_ENABLE_SOUNDS, kBnClicked), true, {4}, false},
      {"Antialiasing", DialogMessage::Command(IDC_ANTIALIASING, kBnClicked), true, {6}, false},
      {"music track bar", Scroll(IDC_MUSIC_VOLUME), true, {1}, false},
      {"sounds track bar", Scroll(IDC_SOUNDS_VOLUME), true, {3}, false},
      {"scroll from elsewhere", Scroll(IDC_MONITOR_LIST), true, {}, false},
      {"Restore Defaults",
       DialogMessage::Command(IDC_RESTORE_DEFAULTS, kBnClicked),
       true,
       {6, 1, 2, 3, 4, 0, 5},
       false},
      {"absent 1030",
       DialogMessage::Command(IDC_HIGH_QUALITY_GRAPHICS, kBnClicked),
       true,
       {0},
       false},
      {"absent 1031",
       DialogMessage::Command(IDC_HIGH_QUALITY_TEXTURES, kBnClicked),
       true,
       {5},
       false},
      {"Run at startup", DialogMessage::Command(IDC_RUN_AT_STARTUP, kBnClicked), true, {}, false},
      {"Play my music", DialogMessage::Command(IDC_PLAY_MY_MUSIC, kBnClicked), true, {}, false},
      {"Edit Playlist", DialogMessage::Command(IDC_EDIT_PLAYLIST, kBnClicked), true, {}, false},
      {"Visit", DialogMessage::Command(IDC_VISIT, kBnClicked), true, {}, false},
      {"blank screens", DialogMessage::Command(IDC_BLANK_SCREENS, kBnClicked), true, {}, false},
      {"monitor chosen", DialogMessage::Command(IDC_MONITOR_LIST, kCbnSelEndOk), true, {}, false},
      {"monitor list, other code", DialogMessage::Command(IDC_MONITOR_LIST, 1), false, {}, false},
      {"mode chosen", DialogMessage::Command(IDC_MODE_LIST, kCbnSelEndOk), true, {}, false},
      {"desktop resolution",
       DialogMessage::Command(IDC_DESKTOP_RESOLUTION, kBnClicked),
       true,
       {},
       false},
      {"Enable music, other code", DialogMessage::Command(IDC_ENABLE_MUSIC, 5), false, {}, false},
      {"Restore, other code", DialogMessage::Command(IDC_RESTORE_DEFAULTS, 1), false, {}, false},
      {"unknown command", DialogMessage::Command(4711, kBnClicked), false, {}, false},
      {"other message", {0x0200, 0, 0}, false, {}, false},
  };
  StartWallpaper();
  for (const Row& row : rows) {
    FakeDialogControls controls = FakeDialogControls::SettingsDialog();
    FakeHost host(controls);
    CSettingsDlg dialog(host, platform_.ports);
    std::intptr_t result = 0;
    dialog.ProcessWindowMessage({kWmInitDialog, 0, 0}, result);
    const std::size_t before = platform_.windows.Posted().size();
    EXPECT_EQ(dialog.ProcessWindowMessage(row.message, result), row.handled) << row.what;
    std::vector<int> codes;
    for (std::size_t i = before; i < platform_.windows.Posted().size(); ++i)
      codes.push_back(static_cast<int>(platform_.windows.Posted()[i].wParam));
    EXPECT_EQ(codes, row.codes) << row.what;
    EXPECT_EQ(host.ended.has_value(), row.ends) << row.what;
  }
}

TEST_F(SettingsDialogTest, MusicBoxEnablesItsControlsAndTheEditorOnlyWithAPlaylist) {
  StartWallpaper();
  Open();
  Click(IDC_ENABLE_MUSIC);  // off
  for (ControlId id :
       {IDC_MUSIC_VOLUME, IDC_MUSIC_VOLUME_LABEL, IDC_PLAY_MY_MUSIC, IDC_EDIT_PLAYLIST})
    EXPECT_FALSE(controls_.IsEnabled(id)) << id;
  Click(IDC_ENABLE_MUSIC);  // on again, no playlist
  EXPECT_TRUE(controls_.IsEnabled(IDC_MUSIC_VOLUME));
  EXPECT_TRUE(controls_.IsEnabled(IDC_PLAY_MY_MUSIC));
  EXPECT_FALSE(controls_.IsEnabled(IDC_EDIT_PLAYLIST));
  Click(IDC_PLAY_MY_MUSIC);
  EXPECT_TRUE(controls_.IsEnabled(IDC_EDIT_PLAYLIST));
  Click(IDC_ENABLE_MUSIC);
  Click(IDC_ENABLE_MUSIC);
  EXPECT_TRUE(controls_.IsEnabled(IDC_EDIT_PLAYLIST));
  const std::vector<std::pair<int, int>> expected = {{2, 0}, {2, 1}, {2, 0}, {2, 1}};
  EXPECT_EQ(Posted(), expected);

  Click(IDC_ENABLE_SOUNDS);
  EXPECT_FALSE(controls_.IsEnabled(IDC_SOUNDS_VOLUME));
  EXPECT_FALSE(controls_.IsEnabled(IDC_SOUNDS_VOLUME_LABEL));
  EXPECT_EQ(Posted().back(), std::make_pair(4, 0));
}

TEST_F(SettingsDialogTest, ScrollingShowsTheVolumeAndPostsIt) {
  StartWallpaper();
  Open();
  for (int position : {90, 40}) {
    controls_.SetTrackBarPos(IDC_MUSIC_VOLUME, position);
    EXPECT_EQ(Send(Scroll(IDC_MUSIC_VOLUME)), 0);
  }
  EXPECT_EQ(controls_.GetText(IDC_MUSIC_VOLUME_LABEL), u"Music volume: 40%");
  controls_.SetTrackBarPos(IDC_SOUNDS_VOLUME, 0);
  Send(Scroll(IDC_SOUNDS_VOLUME));
  EXPECT_EQ(controls_.GetText(IDC_SOUNDS_VOLUME_LABEL), u"Sounds volume: 0%");
  const std::vector<std::pair<int, int>> expected = {{1, 90}, {1, 40}, {3, 0}};
  EXPECT_EQ(Posted(), expected);
}

TEST_F(SettingsDialogTest, AntialiasingBoxPostsTheSelectedCountOrZero) {
  platform_.direct3d11.sampleCounts[28] = {2, 4, 8};
  Store(u"Antialiasing", u"2: 0");
  StartWallpaper();
  Open();
  Click(IDC_ANTIALIASING);  // on: the list's selected entry
  EXPECT_TRUE(controls_.IsEnabled(IDC_ANTIALIASING_LIST));
  const int count = static_cast<int>(controls_.ComboGetItemData(
      IDC_ANTIALIASING_LIST, controls_.ComboGetCurSel(IDC_ANTIALIASING_LIST)));
  Click(IDC_ANTIALIASING);  // off
  EXPECT_FALSE(controls_.IsEnabled(IDC_ANTIALIASING_LABEL));
  const std::vector<std::pair<int, int>> expected = {{6, count}, {6, 0}};
  EXPECT_EQ(Posted(), expected);
}

TEST_F(SettingsDialogTest, OkTakesEveryControlIntoTheTree) {
  Open();
  Click(IDC_EXIT_ON_MOUSE_MOVE);
  Click(IDC_ENABLE_MUSIC);
  Click(IDC_ENABLE_SOUNDS);
  Click(IDC_PLAY_MY_MUSIC);
  controls_.SetTrackBarPos(IDC_MUSIC_VOLUME, 33);
  controls_.SetTrackBarPos(IDC_SOUNDS_VOLUME, 77);
  Send(DialogMessage::Command(kIdOk, kBnClicked));
  EXPECT_EQ(Stored(u"DisableOnMouseActivate"), u"2: 0");
  EXPECT_EQ(Stored(u"DisableMusic"), u"2: 1");
  EXPECT_EQ(Stored(u"DisableSound"), u"2: 1");
  EXPECT_EQ(Stored(u"UsePlaylist"), u"2: 1");
  EXPECT_EQ(Stored(u"MusicVolumePercentage"), u"2: 33");
  EXPECT_EQ(Stored(u"SoundsVolumePercentage"), u"2: 77");
}

TEST_F(SettingsDialogTest, RunAtStartupFollowsTheStoredCommand) {
  constexpr std::u16string_view kRun = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  struct Case {
    const char* what;
    std::optional<std::u16string_view> appPath, installLocation, stored;
    int shownChecked;
    std::u16string_view command;  // what OK writes with the box ticked
  };
  const Case cases[] = {
      {"AppPath names the folder, entry matches", u"C:\\Apps\\G", std::nullopt,
       u"\"C:\\Apps\\G\\Glimmerdale 3D Screensaver.exe\" /w", 1,
       u"\"C:\\Apps\\G\\Glimmerdale 3D Screensaver.exe\" /w"},
      {"entry differs", u"C:\\Apps\\G", std::nullopt, u"\"C:\\Old\\x.exe\" /w", 0,
       u"\"C:\\Apps\\G\\Glimmerdale 3D Screensaver.exe\" /w"},
      {"uninstaller's folder, trailing backslash kept", std::nullopt, u"D:\\G\\", std::nullopt, 0,
       u"\"D:\\G\\\\Glimmerdale 3D Screensaver.exe\" /w"},
      // Nothing would run: not shown as ticked although both texts are empty.
      {"no folder, no entry", std::nullopt, std::nullopt, std::nullopt, 0, u""},
      {"no folder, empty entry", std::nullopt, std::nullopt, u"", 0, u""},
  };
  for (const Case& c : cases) {
    fakes::FakePlatform platform;
    platform.resources.Put(kCatalogResourceId, kRtRcdata, ShippedCatalog());
    if (c.appPath)
      platform.registry.PutString(kHkeyLocalMachine, kSettingsPath, u"AppPath", *c.appPath);
    if (c.installLocation)
      platform.registry.PutString(kHkeyLocalMachine, kUninstallPath, u"InstallLocation",
                                  *c.installLocation);
    if (c.stored)
      platform.registry.PutString(kHkeyCurrentUser, kRun, u"VellumarkAnimatedWallpaper", *c.stored);
    FakeDialogControls controls = FakeDialogControls::SettingsDialog();
    FakeHost host(controls);
    CSettingsDlg dialog(host, platform.ports);
    std::intptr_t result = 0;
    dialog.ProcessWindowMessage({kWmInitDialog, 0, 0}, result);
    EXPECT_EQ(controls.GetCheck(IDC_RUN_AT_STARTUP), c.shownChecked) << c.what;

    for (int ticked : {1, 0}) {
      controls.SetCheck(IDC_RUN_AT_STARTUP, ticked);
      dialog.ApplyControls();
      const auto raw = platform.registry.Get(kHkeyCurrentUser, kRun, u"VellumarkAnimatedWallpaper");
      ASSERT_TRUE(raw.has_value()) << c.what;
      EXPECT_EQ(raw->type, kRegSz);
      EXPECT_EQ(TextFromRegistryBytes(raw->data.data(), raw->data.size()), ticked ? c.command : u"")
          << c.what;
    }
  }
}

// Saving as a standard user, one row per path: where the key can be written
// nothing changes; where it cannot, OK carries the shield and the elevated
// instance is started once, and its failure in any way is the error box.
TEST_F(SettingsDialogTest, AStandardUsersOkGoesThroughTheElevatedInstance) {
  enum class Elevated { NotNeeded, Writes, Declined, Fails, NeverEnds };
  struct Row {
    const char* what;
    bool refused;
    Elevated elevated;
    bool errorBox;
  };
  const Row rows[] = {
      {"writable", false, Elevated::NotNeeded, false},
      {"refused, then written elevated", true, Elevated::Writes, false},
      {"refused, prompt declined", true, Elevated::Declined, true},
      {"refused, and refused elevated too", true, Elevated::Fails, true},
      {"refused, the instance never ends", true, Elevated::NeverEnds, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fakes::FakePlatform platform(/*wow64=*/true);
    platform.resources.Put(kCatalogResourceId, kRtRcdata, ShippedCatalog());
    platform.registry.PutString(kHkeyLocalMachine, kSettingsPath, u"AppPath", u"C:\\G");
    if (row.refused) platform.registry.Deny(kHkeyLocalMachine, kSettingsPath, kKeySetValue);
    std::vector<std::u16string> requests;
    platform.elevation.elevated = [&](const fakes::FakeElevation::RunAs& run) -> std::uint32_t {
      const std::optional<std::u16string> token =
          ElevatedSaveToken(u"\"" + run.file + u"\" " + run.parameters);
      requests.push_back(token.value_or(u"none"));
      if (row.elevated != Elevated::Writes && row.elevated != Elevated::NeverEnds)
        return RunElevatedSave(*token, platform.elevation, platform.registry, platform.system);
      platform.registry.administrator = true;
      const int code =
          RunElevatedSave(*token, platform.elevation, platform.registry, platform.system);
      platform.registry.administrator = false;
      return static_cast<std::uint32_t>(code);
    };
    if (row.elevated == Elevated::Declined) platform.elevation.runAsResult = kErrorCancelled;
    if (row.elevated == Elevated::NeverEnds) platform.elevation.elevatedWait = kWaitTimeout;

    FakeDialogControls controls = FakeDialogControls::SettingsDialog();
    FakeHost host(controls);
    CSettingsDlg dialog(host, platform.ports);
    std::intptr_t result = 0;
    dialog.ProcessWindowMessage({kWmInitDialog, 0, 0}, result);
    EXPECT_EQ(controls.Shielded(kIdOk), row.refused);
    controls.SetTrackBarPos(IDC_MUSIC_VOLUME, 40);
    controls.SetCheck(IDC_RUN_AT_STARTUP, 1);
    dialog.ProcessWindowMessage(DialogMessage::Command(kIdOk, kBnClicked), result);

    const auto& starts = platform.elevation.starts;
    ASSERT_EQ(starts.size(), row.refused ? 1u : 0u);
    if (row.refused) {
      EXPECT_EQ(starts[0].file, u"C:\\Windows\\System32\\Glimmerdale.scr");
      EXPECT_EQ(starts[0].owner, host.Window());
      EXPECT_EQ(starts[0].mask, kElevatedStartMask);
      EXPECT_TRUE(starts[0].mask & kSeeMaskNoZoneChecks) << "one prompt for a downloaded shell";
      if (row.elevated != Elevated::Declined) {
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(starts[0].parameters, u"--glimmerdale-elevated-save " + requests[0]);
      }
    }
    const auto stored =
        platform.registry.Get(kHkeyLocalMachine, kSettingsPath, u"MusicVolumePercentage");
    const bool saved = row.elevated == Elevated::NotNeeded || row.elevated == Elevated::Writes ||
                       row.elevated == Elevated::NeverEnds;
    EXPECT_EQ(stored.has_value(), saved);
    EXPECT_EQ(platform.ui.boxes.size(), row.errorBox ? 1u : 0u);
    EXPECT_EQ(host.ended, 0);
    // The Run entry is the user's own, written by the user's instance.
    EXPECT_TRUE(platform.registry.Get(kHkeyCurrentUser,
                                      u"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
                                      u"VellumarkAnimatedWallpaper"));
    EXPECT_EQ(platform.processes.OpenHandleCount(), 0u) << "the process and the mapping closed";
  }
}

TEST_F(SettingsDialogTest, AKeyThatRefusesWritesShowsTheTranslatedErrorAndStillEnds) {
  Store(u"Language", u"3: fr");
  platform_.registry.Deny(kHkeyLocalMachine, kSettingsPath, kKeySetValue);
  Open();
  Send(DialogMessage::Command(kIdOk, kBnClicked));
  ASSERT_EQ(platform_.ui.boxes.size(), 1u);
  const auto& box = platform_.ui.boxes[0];
  EXPECT_EQ(box.owner, host_.Window());
  EXPECT_EQ(box.style, kMbIconError);
  EXPECT_EQ(box.caption, u"Erreur!");
  EXPECT_EQ(box.text,
            u"Erreur d\u2019\u00e9criture dans le registre syst\u00e8me. Veuillez NOTER: vous "
            u"devez disposez de droits d\u2019administration suffisant pour faire fonctionner "
            u"ce programme.");
  EXPECT_EQ(host_.ended, 0);
}

TEST_F(SettingsDialogTest, WithoutALanguageTheErrorBoxSpeaksEnglish) {
  platform_.registry.Deny(kHkeyLocalMachine, kSettingsPath, kKeySetValue);
  Open();
  Send(DialogMessage::Command(kIdOk, kBnClicked));
  ASSERT_EQ(platform_.ui.boxes.size(), 1u);
  EXPECT_EQ(platform_.ui.boxes[0].caption, u"Error!");
  EXPECT_EQ(platform_.ui.boxes[0].text,
            u"Error writing to the system registry. Please NOTE: You need to have sufficient "
            u"administrative rights to run this program successfully.");
}

TEST_F(SettingsDialogTest, VisitOpensTheMakersPageInTheDialogsLanguage) {
  const std::pair<std::u16string_view, std::u16string_view> cases[] = {
      {u"3: fr", u"https://www.vellumark.example/fr/?source=glimmerdale&url=settings_more"},
      {u"3: de", u"https://www.vellumark.example/de/?source=glimmerdale&url=settings_more"},
      {u"3: ru", u"https://www.vellumark.example/ru/?source=glimmerdale&url=settings_more"},
      {u"3: en", u"https://www.vellumark.example/?source=glimmerdale&url=settings_more"},
      {u"3: it", u"https://www.vellumark.example/?source=glimmerdale&url=settings_more"},
  };
  for (const auto& [language, page] : cases) {
    Store(u"Language", language);
    FakeDialogControls controls = FakeDialogControls::SettingsDialog();
    FakeHost host(controls);
    CSettingsDlg dialog(host, platform_.ports);
    std::intptr_t result = 0;
    dialog.ProcessWindowMessage({kWmInitDialog, 0, 0}, result);
    dialog.ProcessWindowMessage(DialogMessage::Command(IDC_VISIT, kBnClicked), result);
    ASSERT_EQ(host.pages.size(), 1u);
    EXPECT_EQ(host.pages[0], page);
  }
  EXPECT_EQ(MakerPageAddress(u"FR"), MakerPageAddress(u""));  // exact and case-sensitive
}

TEST_F(SettingsDialogTest, DestroyFreesTheIconAndPostsQuit) {
  Open();
  EXPECT_EQ(Send({kWmDestroy, 0, 0}), 0);
  EXPECT_TRUE(handled_);
  EXPECT_TRUE(host_.iconDestroyed);
  EXPECT_EQ(host_.quit, 0);
}

TEST_F(SettingsDialogTest, EditPlaylistRunsTheEditorOnTheDialogsTree) {
  Open();
  Click(IDC_EDIT_PLAYLIST);
  EXPECT_EQ(host_.playlistEditors, 1);
}

TEST_F(SettingsDialogTest, WithoutAWallpaperNothingIsPostedAndOneStartedLaterIsFound) {
  Open();
  Send(DialogMessage::Command(kIdCancel, kBnClicked));
  EXPECT_TRUE(platform_.windows.Posted().empty());
  const WindowHandle wallpaper = StartWallpaper();
  Click(IDC_ENABLE_SOUNDS);
  ASSERT_EQ(platform_.windows.Posted().size(), 1u);
  EXPECT_EQ(platform_.windows.Posted()[0].window, wallpaper);
}

// A translation may not make the labels read what is not there: a format
// whose placeholders differ from its key's is not used.
TEST(SettingsDialogLabels, AMismatchedTranslationFallsBackToTheKey) {
  fakes::FakePlatform platform;
  platform.resources.Put(
      kCatalogResourceId, kRtRcdata,
      SmallCatalog(
          "<TextBlock Tag=\"Screensaver Settings Dialog\">"
          "<Var Tag=\"Music volume: %.01i%%\"><String Lang=\"en\" Text=\"Volume %s %s %i\"/>"
          "</Var><Var Tag=\"%s %s Configuration\"><String Lang=\"en\" Text=\"%s\"/></Var>"
          "</TextBlock>"));
  FakeDialogControls controls = FakeDialogControls::SettingsDialog();
  FakeHost host(controls);
  CSettingsDlg dialog(host, platform.ports);
  std::intptr_t result = 0;
  dialog.ProcessWindowMessage({kWmInitDialog, 0, 0}, result);
  EXPECT_EQ(controls.GetText(IDC_MUSIC_VOLUME_LABEL), u"Music volume: 15%");
  EXPECT_EQ(host.title, u"Glimmerdale 3D Screensaver 1.0 Configuration");
}

}  // namespace
}  // namespace glimmer::tests

namespace glimmer::tests {
namespace {

TEST(SettingsDefaults, ReplaceOnlyTheirOwnKeysAndFollowTheHardware) {
  fakes::FakePlatform platform;
  platform.directDraw.totalVideoMemory = 512u << 20;  // no WMI: the fallback decides
  platform.displayDevices.metrics[17] = 1001;         // SM_CYFULLSCREEN
  platform.system.tscReadings = {0, 2001ull * 50000 + 9000, 0, 9000};  // 2001 MHz
  Node settings;
  settings[u"MusicVolumePercentage"] = u"loud";  // another type is replaced
  settings[u"CurMonitor"] = 3;
  settings[u"Language"] = u"de";
  SetDefaultSettings(settings, {.direct3d9 = platform.direct3d9,
                                .wmi = platform.wmi,
                                .directDraw = platform.directDraw,
                                .displayDevices = platform.displayDevices,
                                .registry = platform.registry,
                                .system = platform.system});
  EXPECT_EQ(settings[u"HighQualityTextures"].AsInt(), 1);
  EXPECT_EQ(settings[u"HighQualityGraphics"].AsInt(), 1);
  EXPECT_EQ(settings[u"Antialiasing"].AsInt(), 0);
  EXPECT_TRUE(settings.Has(u"MusicVolumePercentage", ValueType::Int));
  EXPECT_EQ(settings[u"MusicVolumePercentage"].AsInt(), 15);
  EXPECT_EQ(settings[u"CurMonitor"].AsInt(), 3);
  EXPECT_EQ(settings[u"Language"].AsString(), u"de");
  EXPECT_EQ(settings.children.size(), 17u);  // the 15 defaults and the two kept keys
}

}  // namespace
}  // namespace glimmer::tests
