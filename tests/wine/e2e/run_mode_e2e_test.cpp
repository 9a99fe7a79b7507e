// The shell started as Windows starts it, with the stand-in as the main
// program placed where each candidate looks for it.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "driver/driver.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;

const wchar_t kProductKey[] = L"Software\\Vellumark\\Glimmerdale 3D Screensaver";
const wchar_t kUninstallScreensaver[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdale 3D Screensaver_is1";
const wchar_t kUninstallCombined[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdale 3D Screensaver and "
    L"Animated Wallpaper_is1";
const wchar_t kMainName[] = L"Glimmerdale 3D Screensaver.exe";
const wchar_t kFindError[] = L"Can't find the main file! Please reinstall screensaver.";
const wchar_t kStartError[] = L"Can't start the screensaver! Please try to restart your computer.";

// The installers are 32-bit programs: their uninstall keys live in the 32-bit
// view, where the shell of either build looks for them.
void SetString(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  const REGSAM view = key == std::wstring(kProductKey) ? 0 : KEY_WOW64_32KEY;
  HKEY opened = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0,
                                           KEY_SET_VALUE | view, nullptr, &opened, nullptr));
  RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(opened);
}

std::wstring Lower(std::wstring text) {
  for (auto& c : text) c = static_cast<wchar_t>(towlower(c));
  return text;
}

// Windows reports a current folder without its trailing backslash (except a root).
std::wstring Trimmed(std::wstring folder) {
  if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
  return Lower(folder);
}

class RunModeE2E : public testing::Test {
 protected:
  void SetUp() override {
    WipeRegistry();
    scratch_ = TempFolder() + L"glimmerdale-e2e\\";
    RemoveTree(scratch_.substr(0, scratch_.size() - 1));
    RemoveTree(ProgramFilesProduct());
    ASSERT_TRUE(MakeFolders(scratch_ + L"cwd"));
    log_ = scratch_ + L"stand-in.log";
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_LOG", log_.c_str());
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_RUN_MS", L"300");
  }
  void TearDown() override {
    WipeRegistry();
    RemoveTree(scratch_.substr(0, scratch_.size() - 1));
    RemoveTree(ProgramFilesProduct());
  }
  static void WipeRegistry() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProductKey);
    for (const wchar_t* key : {kUninstallScreensaver, kUninstallCombined})
      for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
        RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key, view, 0);
  }
  static std::wstring ProgramFilesProduct() {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILESX86, FALSE);
    return std::wstring(folder) + L"\\Glimmerdale 3D Screensaver";
  }
  // Puts the stand-in into folder under the main program's name.
  void Place(const std::wstring& folder) {
    ASSERT_TRUE(MakeFolders(folder));
    ASSERT_TRUE(CopyOver(ExecutableFolder() + L"stand-in-main.exe", folder + L"\\" + kMainName));
  }
  ShellRun Run(const std::wstring& arguments) {
    return RunAndAnswer(ExecutableFolder() + L"Glimmerdale.scr", arguments, scratch_ + L"cwd", 30s);
  }
  struct Started {
    std::string command;
    std::string folder;
    bool ended = false;
  };
  // The stand-in's record of its one start.
  Started StandIn() {
    Started started;
    int starts = 0;
    for (const auto& line : ReadLines(log_)) {
      if (line == "start") ++starts;
      if (line.rfind("command: ", 0) == 0) started.command = line.substr(9);
      if (line.rfind("folder: ", 0) == 0) started.folder = line.substr(8);
      if (line == "end") started.ended = true;
    }
    EXPECT_EQ(1, starts);
    return started;
  }
  void ExpectStarted(const ShellRun& run, const std::wstring& program, const std::wstring& folder) {
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.boxes.empty());
    const Started started = StandIn();
    EXPECT_EQ(ToUtf8(L"\"" + program + L"\""), started.command) << "one quoted token, no options";
    EXPECT_EQ(ToUtf8(Trimmed(folder)), ToUtf8(Lower(FromUtf8(started.folder))));
    EXPECT_TRUE(started.ended) << "the shell ended before the main program did";
  }
  void ExpectOneBox(const ShellRun& run, const std::wstring& text) {
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_EQ(1u, run.boxes.size());
    EXPECT_EQ(L"Error!", run.boxes[0].caption);
    EXPECT_EQ(text, run.boxes[0].text);
  }

  std::wstring scratch_;
  std::wstring log_;
};

TEST_F(RunModeE2E, FindsTheProgramThroughAppPathAndWorksThere) {
  const std::wstring app = scratch_ + L"app";
  Place(app);
  SetString(kProductKey, L"AppPath", app);
  ExpectStarted(Run(L"/s"), app + L"\\" + kMainName, app);
}

TEST_F(RunModeE2E, FindsTheScreensaverPackageWithATrailingBackslash) {
  const std::wstring package = scratch_ + L"package";
  Place(package);
  SetString(kUninstallScreensaver, L"InstallLocation", package + L"\\");
  ExpectStarted(Run(L"/S"), package + L"\\\\" + kMainName, package + L"\\");
}

TEST_F(RunModeE2E, FindsTheCombinedPackageAndWorksInTheProgramsFolder) {
  const std::wstring combined = scratch_ + L"combined";
  Place(combined);
  SetString(kUninstallCombined, L"InstallLocation", combined);
  ExpectStarted(Run(L"/s"), combined + L"\\" + kMainName, combined + L"\\");
}

TEST_F(RunModeE2E, FindsTheProgramFilesFolder) {
  Place(ProgramFilesProduct());
  ExpectStarted(Run(L"-s"), ProgramFilesProduct() + L"\\" + kMainName, ProgramFilesProduct());
}

TEST_F(RunModeE2E, FindsTheCurrentFolder) {
  Place(scratch_ + L"cwd");
  ExpectStarted(Run(L"/s"), scratch_ + L"cwd\\" + kMainName, scratch_ + L"cwd");
}

// The run mode tests paths on drives that may hold no disk: the system's
// box for that is off before anything is looked for (here asked while the
// shell waits for the main program; the dialog and preview scenarios ask too).
TEST_F(RunModeE2E, NoSystemBoxForAnEmptyDrive) {
  Place(scratch_ + L"cwd");
  SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_RUN_MS", L"3000");
  const StartedProcess shell =
      StartProcess(ExecutableFolder() + L"Glimmerdale.scr", L"/s", scratch_ + L"cwd");
  ASSERT_TRUE(shell.process);
  for (int i = 0; i < 200 && ReadLines(log_).empty(); ++i) Sleep(25);
  ASSERT_FALSE(ReadLines(log_).empty()) << "the main program did not start";
  const std::optional<UINT> mode = ErrorModeOf(shell.id);
  EXPECT_EQ(WaitForSingleObject(shell.process.get(), 20000), WAIT_OBJECT_0);
  if (!SameBitness(shell.process.get()))
    GTEST_SKIP() << "a shell of the other bitness cannot be asked from here";
  ASSERT_TRUE(mode.has_value());
  EXPECT_EQ(*mode & SEM_FAILCRITICALERRORS, 1u);
}

TEST_F(RunModeE2E, StaleAppPathMakesTheStartFail) {
  Place(scratch_ + L"cwd");
  SetString(kProductKey, L"AppPath", scratch_ + L"removed");
  ExpectOneBox(Run(L"/s"), kStartError);
  EXPECT_TRUE(ReadLines(log_).empty());
}

TEST_F(RunModeE2E, AFolderNamedLikeTheProgramIsFoundButCannotStart) {
  ASSERT_TRUE(MakeFolders(scratch_ + L"cwd\\" + kMainName));
  ExpectOneBox(Run(L"/s"), kStartError);
}

TEST_F(RunModeE2E, NoProgramAnywhere) {
  ExpectOneBox(Run(L"/s"), kFindError);
  ExpectOneBox(Run(L"/"), kFindError);
}

TEST_F(RunModeE2E, OtherModesEndQuietlyWithCodeZero) {
  Place(scratch_ + L"cwd");
  for (const wchar_t* arguments : {L"/t", L"/a 42", L"/p 0", L"/c 987654"}) {
    const ShellRun run = Run(arguments);
    ASSERT_TRUE(run.exited) << ToUtf8(arguments);
    EXPECT_EQ(0u, run.exitCode) << ToUtf8(arguments);
    EXPECT_TRUE(run.boxes.empty()) << ToUtf8(arguments);
  }
  EXPECT_TRUE(ReadLines(log_).empty()) << "no mode but run starts the main program";
}

}  // namespace
}  // namespace glimmer::driver
