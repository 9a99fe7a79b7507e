// The 64-bit build must see what the 32-bit build sees on 64-bit Windows:
// reads without the 64-bit view go to the 32-bit view by name, and the
// program folder is the 32-bit one.
#include <gtest/gtest.h>

#include "app/run_mode.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "settings/settings_table.h"

namespace glimmer {
namespace {

using View = fakes::FakeRegistry::View;
constexpr std::u16string_view kExe = u"\\Glimmerdale 3D Screensaver.exe";

// Both builds on 64-bit Windows: the 32-bit one is redirected by the system,
// the 64-bit one is not and has to ask.
struct Build {
  const char* name;
  bool is64Bit;
};
constexpr Build kBuilds[] = {{"32-bit under WOW64", false}, {"64-bit", true}};

class BothBuilds : public testing::TestWithParam<Build> {
 protected:
  BothBuilds() : registry_(/*wow64=*/!GetParam().is64Bit) {
    system_.wow64 = !GetParam().is64Bit;
    system_.is64BitProcess = GetParam().is64Bit;
    // The 32-bit build's own folder is what the system calls the program folder.
    if (!GetParam().is64Bit) system_.programFiles = system_.programFilesX86;
  }
  HResult Read(std::u16string_view key, std::u16string& out, bool prefer64) {
    return ReadRegistryString(registry_, system_, kHkeyLocalMachine, key, u"v", out, prefer64);
  }
  fakes::FakeRegistry registry_;
  fakes::FakeSystem system_;
};

TEST_P(BothBuilds, ReadAndWriteTheSameViews) {
  registry_.PutString(kHkeyLocalMachine, u"Software\\P", u"v", u"native", View::Native);
  registry_.PutString(kHkeyLocalMachine, u"Software\\P", u"v", u"32-bit", View::Redirected32);
  for (const auto& [prefer64, seen] : {std::pair{true, u"native"}, {false, u"32-bit"}}) {
    std::u16string out;
    ASSERT_EQ(kSOk, Read(u"Software\\P", out, prefer64));
    EXPECT_EQ(out, seen) << prefer64;
    ASSERT_EQ(kSOk, WriteRegistryString(registry_, system_, kHkeyLocalMachine, u"Software\\W", u"v",
                                        u"x", prefer64));
    EXPECT_TRUE(registry_.Get(kHkeyLocalMachine, u"Software\\W", u"v",
                              prefer64 ? View::Native : View::Redirected32))
        << prefer64;
  }
  // What a 32-bit build asks for is exactly what the rule says; the 64-bit
  // build names the 32-bit view instead of relying on redirection.
  std::u16string out;
  Read(u"Software\\P", out, false);
  EXPECT_EQ(registry_.AccessLog().back().access,
            GetParam().is64Bit ? (kKeyRead | kKeyWow64_32Key) : kKeyRead);
}

TEST_P(BothBuilds, FindTheMainProgramWhereA32BitInstallerPutIt) {
  registry_.PutString(kHkeyLocalMachine, kScreensaverUninstallKey, kInstallLocationValue,
                      u"E:\\Installed", View::Redirected32);
  system_.existingPaths.insert(u"E:\\Installed" + std::u16string(kExe));
  EXPECT_EQ(FindMainProgram(registry_, system_), u"E:\\Installed" + std::u16string(kExe));

  registry_.DeleteTree(kHkeyLocalMachine, kScreensaverUninstallKey, kKeyWow64_32Key);
  const std::u16string inProgramFiles =
      u"C:\\Program Files (x86)\\Glimmerdale 3D Screensaver" + std::u16string(kExe);
  system_.existingPaths.insert(inProgramFiles);
  EXPECT_EQ(FindMainProgram(registry_, system_), inProgramFiles);
}

// The start-up command of "Run at Windows startup" and the run mode's working
// folder: "AppPath" in the native view, then the screensaver package's
// "InstallLocation" in the native view, then in the 32-bit view.
TEST_P(BothBuilds, TheStartupCommandAndTheWorkingFolderComeFromTheSameKeys) {
  const struct {
    const char* name;
    const char16_t* appPath;  // in the native view
    const char16_t* nativeLocation;
    const char16_t* location32;
    std::u16string folder;
  } kCases[] = {
      {"AppPath", u"C:\\Native", u"D:\\Native", u"E:\\Wow", u"C:\\Native"},
      {"native uninstall key first", nullptr, u"D:\\Native", u"E:\\Wow", u"D:\\Native"},
      {"a 32-bit installer's key", nullptr, nullptr, u"E:\\Wow", u"E:\\Wow"},
      {"empty in the native view", nullptr, u"", u"E:\\Wow", u"E:\\Wow"},
      {"none", nullptr, nullptr, nullptr, u""},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    for (std::uint32_t view : {kKeyWow64_64Key, kKeyWow64_32Key}) {
      registry_.DeleteTree(kHkeyLocalMachine, kSettingsKey, view);
      registry_.DeleteTree(kHkeyLocalMachine, kScreensaverUninstallKey, view);
    }
    if (c.appPath)
      registry_.PutString(kHkeyLocalMachine, kSettingsKey, u"AppPath", c.appPath, View::Native);
    if (c.nativeLocation)
      registry_.PutString(kHkeyLocalMachine, kScreensaverUninstallKey, kInstallLocationValue,
                          c.nativeLocation, View::Native);
    if (c.location32)
      registry_.PutString(kHkeyLocalMachine, kScreensaverUninstallKey, kInstallLocationValue,
                          c.location32, View::Redirected32);
    EXPECT_EQ(StartupCommand(registry_, system_),
              c.folder.empty() ? u"" : u"\"" + c.folder + std::u16string(kExe) + u"\" /w");

    // The main program in the current folder: found there, started in the
    // install folder when one is known.
    system_.existingPaths = {u"C:\\Users\\Tester" + std::u16string(kExe)};
    fakes::FakeProcesses processes;
    fakes::FakeUi ui;
    RunMainProgram(registry_, system_, processes, ui);
    ASSERT_EQ(processes.starts.size(), 1u);
    EXPECT_EQ(processes.starts[0].currentDirectory,
              c.folder.empty() ? u"C:\\Users\\Tester\\" : c.folder);
  }
}

// The settings tree, subtrees included, lives in the native view in both builds.
TEST_P(BothBuilds, TheSettingsTreeLoadsAndSavesTheNativeView) {
  registry_.PutString(kHkeyLocalMachine, std::u16string(kSettingsKey) + u"\\Sub", u"n", u"2: 7",
                      View::Native);
  Node settings;
  LoadSavedSettings(settings, registry_, system_);
  EXPECT_EQ(7, settings["Sub/n"].AsInt());
  settings["Sub/m"] = 8;
  ASSERT_TRUE(WriteSettings(settings, registry_, system_));
  EXPECT_TRUE(registry_.Get(kHkeyLocalMachine, std::u16string(kSettingsKey) + u"\\Sub", u"m",
                            View::Native));
  EXPECT_FALSE(registry_.Get(kHkeyLocalMachine, std::u16string(kSettingsKey) + u"\\Sub", u"m",
                             View::Redirected32));
}

INSTANTIATE_TEST_SUITE_P(Builds, BothBuilds, testing::ValuesIn(kBuilds),
                         [](const testing::TestParamInfo<Build>& info) {
                           return info.param.is64Bit ? "Win64" : "Win32";
                         });

}  // namespace
}  // namespace glimmer
