// The playlist editor as a user reaches it: the settings dialog started with
// "/c <owner>", "Edit Playlist...", files chosen in the real file-open dialog
// (M3U playlists among them), items removed, "Shuffle" ticked, and the
// registry read afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/playlist_driver.h"
#include "driver/settings_driver.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;
using Items = std::vector<std::wstring>;

const std::wstring kCyrillicFolder = L"\u041C\u0443\u0437\u044B\u043A\u0430";  // "Музыка"
const std::wstring kCyrillicName = L"\u043F\u0435\u0441\u043D\u044F.mp3";      // "песня.mp3"

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE) << ToUtf8(path) << " " << GetLastError();
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::wstring Joined(const Items& items) {
  std::wstring joined;
  for (const auto& item : items) joined += item + L"\n";
  return joined;
}

class PlaylistE2E : public testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    root_ = TempFolder() + L"glimmerdale-playlist-e2e\\";
    RemoveTree(root_.substr(0, root_.size() - 1));
    ASSERT_TRUE(MakeFolders(music_ + kCyrillicFolder));
    ASSERT_TRUE(MakeFolders(root_ + L"Other"));
    for (const std::wstring& song : {music_ + L"a.mp3", music_ + L"c.mp3", root_ + L"Other\\b.mp3",
                                     music_ + kCyrillicFolder + L"\\" + kCyrillicName})
      WriteBytes(song, "ID3");
    // The four lines a player writes: two comments, a name beside the
    // playlist, and a full path elsewhere.
    WriteBytes(music_ + L"list.m3u", "#EXTM3U\r\n#EXTINF:123,Artist - Title\r\na.mp3\r\n" +
                                         ToUtf8(root_) + "Other\\b.mp3\r\n");
    // Saved as UTF-8 with its byte-order mark, as current players save it.
    WriteBytes(
        music_ + L"cyrillic.m3u",
        "\xEF\xBB\xBF#EXTM3U\r\n" + ToUtf8(kCyrillicFolder + L"\\" + kCyrillicName) + "\r\n");
    WriteBytes(music_ + L"UPPER.M3U", "a.mp3\r\n");
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    RemoveTree(root_.substr(0, root_.size() - 1));
  }

  std::unique_ptr<SettingsSession> OpenSettings() {
    auto session = std::make_unique<SettingsSession>(
        L"/c " + std::to_wstring(reinterpret_cast<INT_PTR>(owner_.Handle())));
    EXPECT_TRUE(session->Started());
    EXPECT_NE(session->WaitForDialog(), nullptr) << "no settings dialog";
    return session;
  }
  static std::optional<std::wstring> Stored(const wchar_t* name) {
    return GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name);
  }

  OwnerWindow owner_;
  std::wstring root_ = TempFolder() + L"glimmerdale-playlist-e2e\\";
  std::wstring music_ = root_ + L"Music\\";
};

TEST_F(PlaylistE2E, EditingThroughTheSettingsDialog) {
  const std::wstring c = music_ + L"c.mp3";
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"UsePlaylist", L"2: 1");
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"ShufflePlayList", L"2: 0");
  const std::wstring saved = c + L"\n" + root_ + L"gone.mp3\n";
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"PlayList", saved);

  auto settings = OpenSettings();
  if (HasFatalFailure() || !settings->Dialog()) return;
  ASSERT_TRUE(settings->Enabled(IDC_EDIT_PLAYLIST));
  PlaylistEditorDriver editor(settings->ProcessId());

  // First visit: tick "Shuffle", add a playlist, then cancel.
  settings->ClickAndGoOn(IDC_EDIT_PLAYLIST);
  ASSERT_NE(editor.WaitForEditor(), nullptr) << "no playlist editor";
  EXPECT_EQ(GetWindow(editor.Editor(), GW_OWNER), settings->Dialog());
  EXPECT_EQ(editor.Text(0), L"Playlist");
  EXPECT_EQ(editor.Items(), Items{c}) << "a saved path that is gone is dropped";
  EXPECT_EQ(editor.Shuffle(), BST_UNCHECKED);
  editor.Click(IDC_SHUFFLE);
  EXPECT_EQ(editor.Shuffle(), BST_CHECKED);
  ASSERT_TRUE(editor.AddFile(music_ + L"list.m3u"));
  EXPECT_EQ(editor.Items().size(), 3u);
  editor.Click(IDCANCEL);
  ASSERT_TRUE(editor.WaitUntilClosed());
  EXPECT_EQ(Stored(L"PlayList"), saved) << "Cancel saves nothing";

  // Second visit: the list from the registry again, "Shuffle" from the tree.
  settings->ClickAndGoOn(IDC_EDIT_PLAYLIST);
  ASSERT_NE(editor.WaitForEditor(), nullptr);
  EXPECT_EQ(editor.Items(), Items{c});
  EXPECT_EQ(editor.Shuffle(), BST_CHECKED) << "the tick lives in the settings tree";

  ASSERT_TRUE(editor.AddNothing());
  EXPECT_EQ(editor.Items(), Items{c}) << "a cancelled file dialog adds nothing";
  ASSERT_TRUE(editor.AddFile(music_ + L"list.m3u"));
  ASSERT_TRUE(editor.AddFiles(root_ + L"Music", {L"cyrillic.m3u", L"UPPER.M3U", L"c.mp3"}));
  const Items all = {c,
                     music_ + L"a.mp3",
                     root_ + L"Other\\b.mp3",
                     music_ + kCyrillicFolder + L"\\" + kCyrillicName,
                     music_ + L"UPPER.M3U",
                     c};
  ASSERT_EQ(editor.Items(), all);

  ASSERT_TRUE(editor.SelectOnly({1, 2, 4}));
  editor.Click(IDC_PLAYLIST_REMOVE);
  const Items kept = {all[0], all[3], all[5]};
  EXPECT_EQ(editor.Items(), kept);

  editor.Click(IDOK);
  ASSERT_TRUE(editor.WaitUntilClosed());
  EXPECT_EQ(Stored(L"PlayList"), Joined(kept)) << "OK saves at once";
  EXPECT_EQ(Stored(L"ShufflePlayList"), L"2: 0") << "not before the settings' OK";

  settings->Click(IDOK);
  const auto code = settings->WaitForExit();
  ASSERT_TRUE(code.has_value()) << "the shell did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_EQ(Stored(L"ShufflePlayList"), L"2: 1");
  EXPECT_EQ(Stored(L"PlayList"), Joined(kept));
}

TEST_F(PlaylistE2E, CancellingTheSettingsDropsTheShuffleButKeepsTheList) {
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"UsePlaylist", L"2: 1");
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"ShufflePlayList", L"2: 1");
  auto settings = OpenSettings();
  if (HasFatalFailure() || !settings->Dialog()) return;
  PlaylistEditorDriver editor(settings->ProcessId());
  settings->ClickAndGoOn(IDC_EDIT_PLAYLIST);
  ASSERT_NE(editor.WaitForEditor(), nullptr);
  EXPECT_EQ(editor.Items(), Items{});
  editor.Click(IDC_SHUFFLE);
  ASSERT_TRUE(editor.AddFile(music_ + L"a.mp3"));
  ASSERT_TRUE(editor.AddFile(music_ + L"a.mp3"));
  editor.Click(IDOK);
  ASSERT_TRUE(editor.WaitUntilClosed());

  settings->Click(IDCANCEL);
  ASSERT_TRUE(settings->WaitForExit().has_value());
  EXPECT_EQ(Stored(L"ShufflePlayList"), L"2: 1");
  EXPECT_EQ(Stored(L"PlayList"), Joined({music_ + L"a.mp3", music_ + L"a.mp3"}))
      << "the same file twice";
}

}  // namespace
}  // namespace glimmer::driver
