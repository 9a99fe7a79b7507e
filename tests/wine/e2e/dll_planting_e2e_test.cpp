// A DLL with a system name planted beside the shell (the download folder a
// user starts the .scr from) must not be loaded.
#include <gtest/gtest.h>

#include <chrono>

#include "driver/driver.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;

const wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

class DllPlanting : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = TempFolder() + L"glimmerdale-planted";
    RemoveTree(folder_);
    ASSERT_TRUE(MakeFolders(folder_));
    marker_ = folder_ + L"\\loaded.marker";
    SetEnvironmentVariableW(L"GLIMMERDALE_PLANTED_MARKER", marker_.c_str());
    ASSERT_TRUE(CopyOver(ExecutableFolder() + L"Glimmerdale.scr", folder_ + L"\\Glimmerdale.scr"));
    ASSERT_TRUE(CopyOver(ExecutableFolder() + L"planted-mpr.dll", folder_ + L"\\mpr.dll"));
    // Under Wine a system DLL's own build wins over a file of the same name
    // unless told otherwise; prefer the file, as Windows would.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    const wchar_t nativeFirst[] = L"native,builtin";
    RegSetValueExW(key, L"mpr", 0, REG_SZ, reinterpret_cast<const BYTE*>(nativeFirst),
                   sizeof(nativeFirst));
    RegCloseKey(key);
  }
  void TearDown() override {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kOverrides, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, L"mpr");
      RegCloseKey(key);
    }
    RemoveTree(folder_);
  }
  bool Loaded() const { return GetFileAttributesW(marker_.c_str()) != INVALID_FILE_ATTRIBUTES; }

  std::wstring folder_;
  std::wstring marker_;
};

TEST_F(DllPlanting, ThePlantedDllWorksWhenLoadedOnPurpose) {
  HMODULE planted = LoadLibraryW((folder_ + L"\\mpr.dll").c_str());
  ASSERT_NE(nullptr, planted);
  FreeLibrary(planted);
  EXPECT_TRUE(Loaded()) << "the marker proves a load; without it the next test proves nothing";
}

TEST_F(DllPlanting, ThePasswordRequestLoadsTheSystemCopy) {
  for (const wchar_t* cwd : {L"", L"folder"}) {
    const ShellRun run = RunAndAnswer(folder_ + L"\\Glimmerdale.scr", L"/a 42",
                                      std::wstring(cwd).empty() ? L"" : folder_, 30s);
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_FALSE(Loaded()) << "the planted mpr.dll was loaded";
  }
}

}  // namespace
}  // namespace glimmer::driver
