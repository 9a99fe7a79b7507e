// Saving as a standard user, end to end. The settings key is given a DACL
// that lets only the Administrators and the system write it (Wine enforces
// it while its server runs), and the shell is started with its token's
// Administrators deny-only: its own save is refused. Under Wine a "runas"
// start keeps that token, so the elevated instance is refused as well, which
// leads to the error box; the elevated instance started directly, with a full
// token and a prepared request, writes exactly what it may.
#include <gtest/gtest.h>
#include <sddl.h>

#include <cstdio>
#include <map>
#include <regex>

#include "driver/playlist_driver.h"
#include "driver/settings_driver.h"
#include "driver/standard_user.h"
#include "elevation/elevated_save.h"
#include "platform/text.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;

const wchar_t kRegistryError[] =
    L"Error writing to the system registry. Please NOTE: You need to have sufficient "
    L"administrative rights to run this program successfully.";

class StandardUserE2E : public testing::Test {
 protected:
  void SetUp() override {
    Wipe();
    PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"AppPath", L"C:\\Glimmerdale");
    PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"MusicVolumePercentage", L"2: 70");
  }
  void TearDown() override { Wipe(); }
  static void Wipe() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  }
  // Write for the Administrators and the system alone, read for everyone.
  static void LockTheKey() {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;KA;;;BA)(A;;KA;;;SY)(A;;KR;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, WRITE_DAC, &key),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor), ERROR_SUCCESS);
    RegCloseKey(key);
    LocalFree(descriptor);
  }

  // The elevated instance run on request with this process's full token;
  // its exit code.
  static DWORD RunElevated(const std::vector<std::uint8_t>& request) {
    const ShellRun run = RunElevatedInstance(request);
    EXPECT_TRUE(run.exited);
    EXPECT_TRUE(run.boxes.empty()) << "the elevated instance shows nothing";
    return run.exitCode;
  }

  // The key and its subkeys: every value, by key path, byte for byte.
  static std::map<std::wstring, std::vector<RawRegistryValue>> KeyTree(const std::wstring& path) {
    std::map<std::wstring, std::vector<RawRegistryValue>> tree;
    tree[path] = KeyValues(HKEY_LOCAL_MACHINE, path.c_str());
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return tree;
    wchar_t name[256];
    std::vector<std::wstring> subkeys;
    for (DWORD index = 0; RegEnumKeyW(key, index, name, 256) == ERROR_SUCCESS; ++index)
      subkeys.emplace_back(name);
    RegCloseKey(key);
    for (const std::wstring& subkey : subkeys) tree.merge(KeyTree(path + L"\\" + subkey));
    return tree;
  }

  OwnerWindow owner_;
};

TEST_F(StandardUserE2E, RefusedTwiceTheErrorBoxTellsAndNothingIsWritten) {
  LockTheKey();
  const auto before = KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  StandardUserProcess shell(ExecutableFolder() + L"Glimmerdale.scr",
                            L"/c " + std::to_wstring(reinterpret_cast<INT_PTR>(owner_.Handle())));
  ASSERT_TRUE(shell.Started());
  SettingsSession dialog(shell.Process(), shell.ProcessId());
  ASSERT_NE(dialog.WaitForDialog(), nullptr);
  dialog.DragTrackBar(IDC_MUSIC_VOLUME, 40);
  dialog.ClickAndGoOn(IDOK);

  std::vector<MessageBoxSeen> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = dialog.MessageBoxes()).empty(); }, 60s))
      << "no error box";
  dialog.AnswerMessageBoxes();
  const auto code = dialog.WaitForExit();
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, L"Error!");
  EXPECT_EQ(boxes[0].text, kRegistryError);
  EXPECT_EQ(KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath), before) << "nothing written";
  // One elevated instance, in its one exact form.
  const std::vector<std::wstring> started = shell.StartedCommandLines();
  ASSERT_EQ(started.size(), 1u);
  const std::string line = ToUtf8(started[0]);
  EXPECT_TRUE(std::regex_match(
      line, std::regex("\"[^\"]*\\\\Glimmerdale\\.scr\" --glimmerdale-elevated-save [0-9a-f]{32}")))
      << line;
  // The Run entry is the user's own: written by the user's instance.
  EXPECT_TRUE(GetString(HKEY_CURRENT_USER, kRunKeyPath, L"VellumarkAnimatedWallpaper"));
}

TEST_F(StandardUserE2E, TheElevatedInstanceWritesWhatTheDialogCouldHaveWritten) {
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Language", L"3: de");
  const std::wstring sub = std::wstring(kSettingsKeyPath) + L"\\Sub";
  PutString(HKEY_LOCAL_MACHINE, sub.c_str(), L"", L"3: x");
  PutString(HKEY_LOCAL_MACHINE, sub.c_str(), L"n", L"2: -7");
  // What the dialog sends: a changed setting, and what it loaded, as loaded.
  const auto request = EncodeSaveRequest({SaveKind::Settings,
                                          {{u"", u"Language", u"3: de"},
                                           {u"", u"MusicVolumePercentage", u"2: 40"},
                                           {u"Sub", u"", u"3: x"},
                                           {u"Sub", u"n", u"2: -7"}}});
  EXPECT_EQ(RunElevated(request), 0u);
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"MusicVolumePercentage"), L"2: 40");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Language"), L"3: de");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"AppPath"), L"C:\\Glimmerdale");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, sub.c_str(), L""), L"3: x") << "Sub's own default";
  EXPECT_EQ(KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath).size(), 3u) << "no value \"Sub\"";

  EXPECT_EQ(RunElevated(EncodeSaveRequest(PlaylistRequestFor(u"C:\\Music\\a.mp3\n"))), 0u);
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"PlayList"), L"C:\\Music\\a.mp3\n");
}

// Requests any process of the user could make, each in a mapping of its own:
// every one is refused at once and the key stays as it was, byte for byte,
// subkeys included.
TEST_F(StandardUserE2E, TheElevatedInstanceRefusesHostileRequestsAndWritesNothing) {
  const std::wstring sub = std::wstring(kSettingsKeyPath) + L"\\Sub";
  PutString(HKEY_LOCAL_MACHINE, sub.c_str(), L"n", L"2: -7");
  const auto before = KeyTree(kSettingsKeyPath);
  const auto settings = [](std::vector<SaveEntry> entries) {
    return EncodeSaveRequest({SaveKind::Settings, std::move(entries)});
  };
  std::u16string deep = u"K";
  for (int depth = 1; depth < 600; ++depth) deep += u"\\K";
  std::vector<std::uint8_t> overlong = settings({{u"", u"MusicVolumePercentage", u"2: 40"}});
  overlong[14] = 0x40;  // a length that runs past the memory it came in
  std::vector<std::uint8_t> million = settings({{u"", u"MusicVolumePercentage", u"2: 40"}});
  million[16] = 0x40, million[17] = 0x42, million[18] = 0x0F;  // a million values, said to follow
  std::vector<std::uint8_t> trailing = settings({{u"", u"MusicVolumePercentage", u"2: 40"}});
  trailing.push_back(1);
  const std::pair<const char*, std::vector<std::uint8_t>> hostile[] = {
      {"AppPath",
       settings({{u"", u"MusicVolumePercentage", u"2: 40"}, {u"", u"appPATH", u"3: C:\\Evil"}})},
      {"AppPath through the key field", settings({{u"AppPath", u"", u"3: C:\\Evil"}})},
      {"the key's default value", settings({{u"", u"", u"3: C:\\Evil"}})},
      {"a key 600 deep", settings({{deep, u"V", u"2: 1"}})},
      {"a million values", million},
      {"a volume of 500", settings({{u"", u"MusicVolumePercentage", u"2: 500"}})},
      {"a new language", settings({{u"", u"Language", u"3: ru"}})},
      {"the playlist as a setting", settings({{u"", u"PlayList", u"3: C:\\Evil.exe"}})},
      {"a value the product does not have", settings({{u"", u"Debugger", u"3: C:\\Evil.exe"}})},
      {"a number not as the save prints it",
       settings({{u"", u"MusicVolumePercentage", u"2: 1 or more"}})},
      {"a playlist as AppPath",
       EncodeSaveRequest({SaveKind::Playlist, {{u"", u"AppPath", u"C:\\Evil\n"}}})},
      {"a playlist line longer than the editor reads",
       EncodeSaveRequest(PlaylistRequestFor(std::u16string(2023, u'x') + u"\n"))},
      {"bytes after the request", trailing},
      {"a length past the memory", overlong},
  };
  for (const auto& [what, bytes] : hostile) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunElevated(bytes), 3u) << what;
    const double ms = Milliseconds(std::chrono::steady_clock::now() - start);
    std::printf("refused in %.0f ms (process start included): %s\n", ms, what);
    EXPECT_LT(ms, 5000) << what;
  }
  EXPECT_EQ(KeyTree(kSettingsKeyPath), before) << "byte for byte";
}

// A standard user's OK in the playlist editor and in the settings dialog,
// with the UAC consent granted each time: both changes arrive through one
// elevated instance each, and everything else in the key stays as it was.
TEST_F(StandardUserE2E, WithTheConsentGrantedTheSettingsAndThePlaylistArrive) {
  const std::wstring song = ExecutableFolder() + L"Glimmerdale.scr";  // any file that exists
  const std::wstring sub = std::wstring(kSettingsKeyPath) + L"\\Sub";
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"UsePlaylist", L"2: 1");
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"PlayList", song + L"\nC:\\gone.mp3\n");
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Unknown", L"1: 0.500000");
  PutString(HKEY_LOCAL_MACHINE, sub.c_str(), L"", L"3: x");
  LockTheKey();
  StandardUserProcess shell(ExecutableFolder() + L"Glimmerdale.scr",
                            L"/c " + std::to_wstring(reinterpret_cast<INT_PTR>(owner_.Handle())),
                            StandardUserProcess::Consent::Granted);
  ASSERT_TRUE(shell.Started());
  SettingsSession dialog(shell.Process(), shell.ProcessId());
  ASSERT_NE(dialog.WaitForDialog(), nullptr);

  PlaylistEditorDriver editor(shell.ProcessId());
  dialog.ClickAndGoOn(IDC_EDIT_PLAYLIST);
  ASSERT_NE(editor.WaitForEditor(), nullptr) << "no playlist editor";
  EXPECT_EQ(editor.Items(), std::vector<std::wstring>{song}) << "the missing file dropped";
  editor.Click(IDOK);
  ASSERT_TRUE(editor.WaitUntilClosed(60s));
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"PlayList"), song + L"\n");

  dialog.DragTrackBar(IDC_MUSIC_VOLUME, 40);
  dialog.ClickAndGoOn(IDOK);
  const auto code = dialog.WaitForExit(60s);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(dialog.MessageBoxes().empty()) << "no error box";

  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"MusicVolumePercentage"), L"2: 40");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"DisableMusic"), L"2: 0");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"AppPath"), L"C:\\Glimmerdale");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Unknown"), L"1: 0.500000");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, sub.c_str(), L""), L"3: x");
  EXPECT_FALSE(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Sub"));
  const std::vector<std::wstring> started = shell.StartedCommandLines();
  ASSERT_EQ(started.size(), 2u) << "one elevated instance for each OK";
  for (const std::wstring& line : started)
    EXPECT_NE(line.find(L" --glimmerdale-elevated-save "), std::wstring::npos) << ToUtf8(line);
}

}  // namespace
}  // namespace glimmer::driver
