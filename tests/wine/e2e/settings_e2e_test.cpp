// The settings dialog as the control panel opens it and a user works it: the
// shell started with "/c <owner>", driven from outside, with the registry and
// a running wallpaper stand-in checked afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "driver/settings_driver.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;
using Messages = std::vector<std::pair<int, int>>;

const wchar_t kEnglishTitle[] = L"Glimmerdale 3D Screensaver 1.0 Configuration";

class SettingsE2E : public testing::Test {
 protected:
  void SetUp() override {
    Wipe();
    log_ = TempFolder() + L"glimmerdale-wallpaper.log";
  }
  void TearDown() override { Wipe(); }
  static void Wipe() { WipeSettingsAndRunEntry(); }
  // Starts the shell owned by our stand-in control panel and waits for the
  // dialog's final title.
  std::unique_ptr<SettingsSession> Open(const std::wstring& option = L"/c") {
    const auto start = std::chrono::steady_clock::now();
    auto session = std::make_unique<SettingsSession>(
        option + L" " + std::to_wstring(reinterpret_cast<INT_PTR>(owner_.Handle())));
    EXPECT_TRUE(session->Started());
    EXPECT_NE(session->WaitForDialog(), nullptr) << "no settings dialog";
    const auto shown = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start);
    std::printf("[ timing ] settings dialog shown after %lld ms\n",
                static_cast<long long>(shown.count()));
    return session;
  }
  static void ExpectEndsWithZero(SettingsSession& session) {
    const auto code = session.WaitForExit();
    ASSERT_TRUE(code.has_value()) << "the shell did not end";
    EXPECT_EQ(*code, 0u);
  }
  static std::optional<std::wstring> Setting(const wchar_t* name) {
    return GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name);
  }

  OwnerWindow owner_;
  std::wstring log_;
};

TEST_F(SettingsE2E, FirstOkOnAnEmptyKeyWritesTheDefaults) {
  auto dialog = Open();
  if (HasFatalFailure() || !dialog->Dialog()) return;
  EXPECT_EQ(dialog->Title(), kEnglishTitle);
  EXPECT_FALSE(IsWindowEnabled(owner_.Handle())) << "the dialog is modal to its owner";
  EXPECT_EQ(GetWindow(dialog->Dialog(), GW_OWNER), owner_.Handle());
  // No system box when the playlist editor tests a path on an empty drive.
  EXPECT_EQ(ErrorModeOf(dialog->ProcessId()).value_or(0) & SEM_FAILCRITICALERRORS, 1u);
  EXPECT_EQ(dialog->Check(IDC_EXIT_ON_MOUSE_MOVE), 0);
  EXPECT_EQ(dialog->Check(IDC_ENABLE_MUSIC), 1);
  EXPECT_EQ(dialog->Check(IDC_ENABLE_SOUNDS), 1);
  EXPECT_EQ(dialog->TrackBar(IDC_MUSIC_VOLUME), 15);
  EXPECT_EQ(dialog->TrackBar(IDC_SOUNDS_VOLUME), 15);
  EXPECT_EQ(dialog->Text(IDC_MUSIC_VOLUME_LABEL), L"Music volume: 15%");
  EXPECT_EQ(dialog->Text(IDC_SOUNDS_VOLUME_LABEL), L"Sounds volume: 15%");
  EXPECT_FALSE(dialog->Enabled(IDC_EDIT_PLAYLIST));
  EXPECT_TRUE(dialog->Enabled(IDC_PLAY_MY_MUSIC));

  dialog->Click(IDOK);
  ExpectEndsWithZero(*dialog);
  EXPECT_TRUE(IsWindowEnabled(owner_.Handle()));
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"MusicVolumePercentage", L"2: 15"},
      {L"SoundsVolumePercentage", L"2: 15"},
      {L"DisableMusic", L"2: 0"},
      {L"DisableSound", L"2: 0"},
      {L"UsePlaylist", L"2: 0"},
      {L"DisableOnMouseActivate", L"2: 1"},
      {L"HighQualityGraphics", L"2: 0"},
      {L"HighQualityTextures", L"2: 0"},
      {L"MonitorAspectRatio", L"2: 4"},
      {L"ShufflePlayList", L"2: 1"},
  };
  for (const auto& [name, text] : expected)
    EXPECT_EQ(Setting(name).value_or(L"(missing)"), text) << ToUtf8(name);
}

TEST_F(SettingsE2E, AStoredLanguageTranslatesTheDialogAndIsKept) {
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Language", L"3: de");
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"MonitorAspectRatio", L"2: 2");
  auto dialog = Open(L"/c:");
  if (!dialog->Dialog()) return;
  EXPECT_NE(dialog->Title(), kEnglishTitle);
  EXPECT_NE(dialog->Title().find(L"Glimmerdale 3D Screensaver 1.0"), std::wstring::npos);
  EXPECT_NE(dialog->Text(IDCANCEL), L"Cancel");
  EXPECT_EQ(dialog->Text(IDC_MUSIC_VOLUME_LABEL).find(L"Music volume"), std::wstring::npos);
  dialog->PressKey(VK_RETURN);  // the default button
  ExpectEndsWithZero(*dialog);
  EXPECT_EQ(Setting(L"Language"), L"3: de");
  EXPECT_EQ(Setting(L"MonitorAspectRatio"), L"2: 2");
  EXPECT_EQ(Setting(L"MusicVolumePercentage"), L"2: 15") << "Enter saves";
}

TEST_F(SettingsE2E, EscapeAndTheCloseBoxSaveNothing) {
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"MusicVolumePercentage", L"2: 70");
  for (bool escape : {true, false}) {
    auto dialog = Open();
    if (!dialog->Dialog()) return;
    dialog->PressOnTrackBar(IDC_MUSIC_VOLUME, VK_RIGHT, 3);
    EXPECT_EQ(dialog->Text(IDC_MUSIC_VOLUME_LABEL), L"Music volume: 73%");
    if (escape) {
      dialog->PressKey(VK_ESCAPE);
    } else {
      dialog->CloseBox();
    }
    ExpectEndsWithZero(*dialog);
    EXPECT_EQ(Setting(L"MusicVolumePercentage"), L"2: 70") << (escape ? "Escape" : "close box");
    EXPECT_FALSE(Setting(L"SoundsVolumePercentage").has_value());
  }
}

TEST_F(SettingsE2E, RestoreDefaultsThenCancelLeavesTheKeyByteForByte) {
  const std::pair<const wchar_t*, const wchar_t*> stored[] = {
      {L"MusicVolumePercentage", L"2: 70"},
      {L"DisableMusic", L"2: 1"},
      {L"UsePlaylist", L"2: 1"},
      {L"DisableOnMouseActivate", L"2: 0"},
      {L"SoundsVolumePercentage", L"2: 5"},
      {L"Language", L"3: en"},
  };
  for (const auto& [name, text] : stored)
    PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name, text);
  const auto before = KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath);

  WallpaperStandIn wallpaper(log_);
  ASSERT_TRUE(wallpaper.Running());
  auto dialog = Open();
  if (!dialog->Dialog()) return;
  EXPECT_EQ(dialog->Check(IDC_ENABLE_MUSIC), 0);
  EXPECT_EQ(dialog->Check(IDC_EXIT_ON_MOUSE_MOVE), 1);
  dialog->Click(IDC_RESTORE_DEFAULTS);
  EXPECT_EQ(dialog->TrackBar(IDC_MUSIC_VOLUME), 15);
  EXPECT_EQ(dialog->TrackBar(IDC_SOUNDS_VOLUME), 15);
  EXPECT_EQ(dialog->Check(IDC_ENABLE_MUSIC), 1);
  EXPECT_EQ(dialog->Check(IDC_PLAY_MY_MUSIC), 0);
  EXPECT_EQ(dialog->Check(IDC_EXIT_ON_MOUSE_MOVE), 0);
  EXPECT_EQ(dialog->Text(IDC_SOUNDS_VOLUME_LABEL), L"Sounds volume: 15%");
  dialog->Click(IDCANCEL);
  ExpectEndsWithZero(*dialog);
  EXPECT_EQ(KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath), before);

  // Restore posts the defaults; Cancel posts the tree, which Restore changed.
  const Messages expected = {{6, 0}, {1, 15}, {2, 1}, {3, 15}, {4, 1}, {0, 0}, {5, 0},
                             {6, 0}, {1, 15}, {2, 1}, {3, 15}, {4, 1}, {0, 0}, {5, 0}};
  EXPECT_EQ(wallpaper.CloseAndReadMessages(), expected);
}

TEST_F(SettingsE2E, ARunningWallpaperFollowsEveryLiveChangeAndNothingElse) {
  WallpaperStandIn wallpaper(log_);
  ASSERT_TRUE(wallpaper.Running());
  auto dialog = Open();
  if (!dialog->Dialog()) return;
  dialog->PressOnTrackBar(IDC_MUSIC_VOLUME, VK_RIGHT, 2);  // the track bar's own WM_HSCROLL
  EXPECT_EQ(dialog->Text(IDC_MUSIC_VOLUME_LABEL), L"Music volume: 17%");
  dialog->DragTrackBar(IDC_SOUNDS_VOLUME, 40);
  dialog->Sync();
  EXPECT_EQ(dialog->Text(IDC_SOUNDS_VOLUME_LABEL), L"Sounds volume: 40%");
  dialog->Click(IDC_ENABLE_MUSIC);
  EXPECT_FALSE(dialog->Enabled(IDC_MUSIC_VOLUME));
  EXPECT_FALSE(dialog->Enabled(IDC_PLAY_MY_MUSIC));
  dialog->Click(IDC_ENABLE_MUSIC);
  dialog->Click(IDC_ENABLE_SOUNDS);
  EXPECT_FALSE(dialog->Enabled(IDC_SOUNDS_VOLUME));
  dialog->Click(IDC_RUN_AT_STARTUP);  // posts nothing
  dialog->Click(IDC_PLAY_MY_MUSIC);   // posts nothing
  EXPECT_TRUE(dialog->Enabled(IDC_EDIT_PLAYLIST));
  dialog->Click(IDOK);  // posts nothing
  ExpectEndsWithZero(*dialog);

  const Messages received = wallpaper.CloseAndReadMessages();
  // A key press scrolls on the way down and ends the move on the way up:
  // every notification is passed on.
  const Messages expected = {{1, 16}, {1, 16}, {1, 17}, {1, 17}, {3, 40}, {2, 0}, {2, 1}, {4, 0}};
  EXPECT_EQ(received, expected);
  EXPECT_EQ(Setting(L"MusicVolumePercentage"), L"2: 17");
  EXPECT_EQ(Setting(L"SoundsVolumePercentage"), L"2: 40");
  EXPECT_EQ(Setting(L"DisableSound"), L"2: 1");
  EXPECT_EQ(Setting(L"UsePlaylist"), L"2: 1");
}

TEST_F(SettingsE2E, TheRunEntryFollowsTheBoxOnOk) {
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"AppPath", L"C:\\Apps\\G");
  const std::wstring command = L"\"C:\\Apps\\G\\Glimmerdale 3D Screensaver.exe\" /w";
  {
    auto dialog = Open();
    if (!dialog->Dialog()) return;
    EXPECT_EQ(dialog->Check(IDC_RUN_AT_STARTUP), 0);
    dialog->Click(IDC_RUN_AT_STARTUP);
    dialog->Click(IDOK);
    ExpectEndsWithZero(*dialog);
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kRunKeyPath, L"VellumarkAnimatedWallpaper"), command);
  }
  {
    auto dialog = Open();
    if (!dialog->Dialog()) return;
    EXPECT_EQ(dialog->Check(IDC_RUN_AT_STARTUP), 1);
    dialog->Click(IDC_RUN_AT_STARTUP);
    dialog->Click(IDOK);
    ExpectEndsWithZero(*dialog);
    // Present, and empty.
    EXPECT_EQ(GetString(HKEY_CURRENT_USER, kRunKeyPath, L"VellumarkAnimatedWallpaper"), L"");
  }
  {
    auto dialog = Open();
    if (!dialog->Dialog()) return;
    EXPECT_EQ(dialog->Check(IDC_RUN_AT_STARTUP), 0);
    dialog->Click(IDCANCEL);
    ExpectEndsWithZero(*dialog);
  }
}

TEST_F(SettingsE2E, AnOwnerThatIsNoWindowShowsNothing) {
  SettingsSession session(L"/c 987654");
  ASSERT_TRUE(session.Started());
  const auto code = session.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
}

}  // namespace
}  // namespace glimmer::driver
