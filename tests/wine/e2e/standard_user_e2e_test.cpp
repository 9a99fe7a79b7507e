// Saving as a standard user, end to end. The settings key is given a DACL
// that lets only the Administrators and the system write it (Wine enforces
// it while its server runs), and the shell is started with its token's
// Administrators deny-only: its own save is refused. Under Wine a "runas"
// start keeps that token, so the elevated instance is refused as well, which
// leads to the error box; the elevated instance started directly, with a full
// token and a prepared request, writes exactly what it may.
#include <gtest/gtest.h>
#include <sddl.h>

#include <regex>

#include "driver/settings_driver.h"
#include "driver/standard_user.h"
#include "elevation/elevated_save.h"
#include "platform/text.h"
#include "resource_ids.h"
#include "win32/elevation_win32.h"
#include "win32/system_win32.h"
#include "win32/wide.h"

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

  // Offers request as the user's instance does and runs the elevated
  // instance on it with this process's full token; its exit code.
  static DWORD RunElevated(const std::vector<std::uint8_t>& request) {
    win32::Win32Elevation elevation;
    win32::Win32Processes processes;
    const std::wstring token = L"00112233445566778899aabbccddeeff";
    OsHandle mapping = 0;
    EXPECT_EQ(elevation.CreateSharedMemory(RequestMappingName(win32::U16(token)), request, mapping),
              kErrorSuccess);
    const ShellRun run = RunAndAnswer(ExecutableFolder() + L"Glimmerdale.scr",
                                      L"--glimmerdale-elevated-save " + token, L"", 20s);
    processes.CloseHandle(mapping);
    EXPECT_TRUE(run.exited);
    EXPECT_TRUE(run.boxes.empty()) << "the elevated instance shows nothing";
    return run.exitCode;
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

TEST_F(StandardUserE2E, TheElevatedInstanceWritesExactlyTheRequest) {
  const auto request = EncodeSaveRequest(
      {SaveKind::Settings,
       {{u"", u"MusicVolumePercentage", u"2: 40"}, {u"", u"Language", u"3: de"}}});
  EXPECT_EQ(RunElevated(request), 0u);
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"MusicVolumePercentage"), L"2: 40");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Language"), L"3: de");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"AppPath"), L"C:\\Glimmerdale");
  EXPECT_EQ(KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath).size(), 3u);

  EXPECT_EQ(RunElevated(EncodeSaveRequest(PlaylistRequestFor(u"C:\\Music\\a.mp3\n"))), 0u);
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"PlayList"), L"C:\\Music\\a.mp3\n");
}

TEST_F(StandardUserE2E, TheElevatedInstanceRefusesHostileRequestsAndWritesNothing) {
  const auto before = KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  // A length that runs past the memory it came in.
  std::vector<std::uint8_t> overlong =
      EncodeSaveRequest({SaveKind::Settings, {{u"", u"MusicVolumePercentage", u"2: 40"}}});
  overlong[14] = 0x40;
  const std::vector<std::vector<std::uint8_t>> hostile = {
      EncodeSaveRequest(
          {SaveKind::Settings,
           {{u"", u"MusicVolumePercentage", u"2: 40"}, {u"", u"appPATH", u"3: C:\\Evil"}}}),
      EncodeSaveRequest({SaveKind::Settings, {{u"", u"MusicVolumePercentage", u"2: 1 or more"}}}),
      EncodeSaveRequest({SaveKind::Playlist, {{u"", u"AppPath", u"C:\\Evil\n"}}}),
      overlong,
  };
  for (std::size_t i = 0; i < hostile.size(); ++i)
    EXPECT_EQ(RunElevated(hostile[i]), 3u) << "request " << i;
  EXPECT_EQ(KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath), before) << "byte for byte";
}

}  // namespace
}  // namespace glimmer::driver
