#include "app/run_mode.h"

#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "platform/product.h"
#include "platform/text.h"

namespace glimmer {
namespace {

constexpr std::u16string_view kMainExe = u"\\Glimmerdale 3D Screensaver.exe";

class RunMode : public testing::Test {
 protected:
  fakes::FakeRegistry registry_;
  fakes::FakeSystem system_;
  fakes::FakeProcesses processes_;
  fakes::FakeUi ui_;

  std::u16string Find() { return FindMainProgram(registry_, system_); }
  void Run() { RunMainProgram(registry_, system_, processes_, ui_); }

  void Install(std::u16string_view folder) {
    system_.existingPaths.insert(std::u16string(folder) + std::u16string(kMainExe));
  }
  void SetAppPath(std::u16string_view value) {
    registry_.PutString(kHkeyLocalMachine, kSettingsKey, kAppPathValue, value);
  }
  void SetInstallLocation(std::u16string_view key, std::u16string_view value) {
    registry_.PutString(kHkeyLocalMachine, key, kInstallLocationValue, value);
  }
};

TEST_F(RunMode, AppPathIsTheOnlyRegistryCandidateWhenSet) {
  SetAppPath(u"D:\\Stale");
  SetInstallLocation(kScreensaverUninstallKey, u"E:\\Installed");
  Install(u"E:\\Installed");
  EXPECT_EQ(u"", Find()) << "the uninstall keys must not be consulted";

  Install(u"C:\\Program Files\\Glimmerdale 3D Screensaver");
  EXPECT_EQ(u"C:\\Program Files\\Glimmerdale 3D Screensaver\\Glimmerdale 3D Screensaver.exe",
            Find());
  Install(u"D:\\Stale");
  system_.specialFolderQueries = 0;
  EXPECT_EQ(u"D:\\Stale\\Glimmerdale 3D Screensaver.exe", Find());
  EXPECT_EQ(system_.specialFolderQueries, 0) << "found before the program folder was needed";
}

TEST_F(RunMode, CandidatesComeInOrder) {
  SetInstallLocation(kScreensaverUninstallKey, u"E:\\One\\");
  SetInstallLocation(kCombinedUninstallKey, u"E:\\Two");
  system_.existingPaths = {u"C:\\Users\\Tester\\Glimmerdale 3D Screensaver.exe"};
  EXPECT_EQ(u"C:\\Users\\Tester\\Glimmerdale 3D Screensaver.exe", Find());
  Install(u"C:\\Program Files\\Glimmerdale 3D Screensaver");
  EXPECT_EQ(u"C:\\Program Files\\Glimmerdale 3D Screensaver\\Glimmerdale 3D Screensaver.exe",
            Find());
  Install(u"E:\\Two");
  EXPECT_EQ(u"E:\\Two\\Glimmerdale 3D Screensaver.exe", Find());
  // A trailing backslash is kept: the path has a doubled one.
  Install(u"E:\\One\\");
  EXPECT_EQ(u"E:\\One\\\\Glimmerdale 3D Screensaver.exe", Find());
}

TEST_F(RunMode, UninstallKeysAreReadFromTheRedirectedViewAndAppPathFromTheNativeOne) {
  fakes::FakeRegistry registry(true);
  system_.wow64 = true;
  using View = fakes::FakeRegistry::View;
  registry.PutString(kHkeyLocalMachine, kScreensaverUninstallKey, kInstallLocationValue,
                     u"E:\\Native", View::Native);
  registry.PutString(kHkeyLocalMachine, kScreensaverUninstallKey, kInstallLocationValue,
                     u"E:\\Redirected", View::Redirected32);
  Install(u"E:\\Native");
  Install(u"E:\\Redirected");
  EXPECT_EQ(u"E:\\Redirected\\Glimmerdale 3D Screensaver.exe", FindMainProgram(registry, system_));

  registry.PutString(kHkeyLocalMachine, kSettingsKey, kAppPathValue, u"F:\\App", View::Native);
  Install(u"F:\\App");
  EXPECT_EQ(u"F:\\App\\Glimmerdale 3D Screensaver.exe", FindMainProgram(registry, system_));

  // The working folder takes the screensaver package's value from the native view.
  registry.PutString(kHkeyLocalMachine, kSettingsKey, kAppPathValue, u"", View::Native);
  RunMainProgram(registry, system_, processes_, ui_);
  ASSERT_EQ(1u, processes_.starts.size());
  EXPECT_EQ(u"E:\\Native", processes_.starts[0].currentDirectory);
}

TEST_F(RunMode, FailingFolderQueriesSkipTheirCandidates) {
  system_.programFilesKnown = false;
  system_.currentDirectoryKnown = false;
  Install(u"C:\\Program Files\\Glimmerdale 3D Screensaver");
  Install(u"C:\\Users\\Tester");
  EXPECT_EQ(u"", Find());
}

TEST(FolderOfPath, KeepsTheLastBackslash) {
  EXPECT_EQ(u"C:\\a\\", FolderOfPath(u"C:\\a\\b.exe"));
  EXPECT_EQ(u"C:\\a\\\\", FolderOfPath(u"C:\\a\\\\b.exe"));
  EXPECT_EQ(u"", FolderOfPath(u"C:/a/b.exe"));
  EXPECT_EQ(u"", FolderOfPath(u""));
  EXPECT_EQ(u"\\", FolderOfPath(u"\\"));
}

TEST_F(RunMode, StartsTheProgramAloneInTheChosenFolderAndWaitsForIt) {
  SetInstallLocation(kCombinedUninstallKey, u"E:\\Combined");
  Install(u"E:\\Combined");
  Run();
  ASSERT_EQ(1u, processes_.starts.size());
  EXPECT_EQ(u"\"E:\\Combined\\Glimmerdale 3D Screensaver.exe\"", processes_.starts[0].commandLine);
  EXPECT_EQ(u"E:\\Combined\\", processes_.starts[0].currentDirectory);
  EXPECT_EQ((std::vector<std::string>{"wait:256:4294967295", "close:512", "close:256"}),
            processes_.calls);
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(RunMode, WorkingFolderFollowsAppPathThenTheScreensaverPackage) {
  SetInstallLocation(kScreensaverUninstallKey, u"E:\\Package");
  Install(u"E:\\Package");
  Run();
  SetAppPath(u"D:\\App");
  Install(u"D:\\App");
  Run();
  ASSERT_EQ(2u, processes_.starts.size());
  EXPECT_EQ(u"E:\\Package", processes_.starts[0].currentDirectory);
  EXPECT_EQ(u"D:\\App", processes_.starts[1].currentDirectory);
}

TEST_F(RunMode, ShowsTheTwoErrorsInEnglish) {
  Run();
  Install(u"C:\\Users\\Tester");
  processes_.startSucceeds = false;
  Run();
  ASSERT_EQ(2u, ui_.boxes.size());
  EXPECT_EQ(u"Can't find the main file! Please reinstall screensaver.", ui_.boxes[0].text);
  EXPECT_EQ(u"Can't start the screensaver! Please try to restart your computer.",
            ui_.boxes[1].text);
  for (const auto& box : ui_.boxes) {
    EXPECT_EQ(u"Error!", box.caption);
    EXPECT_EQ(0x10u, box.style);
    EXPECT_EQ(0u, box.owner);
  }
  EXPECT_TRUE(processes_.calls.empty()) << "nothing is waited for when the start fails";
}

}  // namespace
}  // namespace glimmer
