// The 64-bit shell finds what a 32-bit installer left: its uninstall key in
// the 32-bit registry view and its folder under the 32-bit program folder.
// The start-up command and the run mode's working folder name the same folder.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>

#include "app/run_mode.h"
#include "platform/product.h"
#include "settings/settings_table.h"
#include "win32/registry_win32.h"
#include "win32/system_win32.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {
namespace {

const wchar_t kUninstall[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdale 3D Screensaver_is1";

class RegistryViews : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
  void Clean() {
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY})
      RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kUninstall, view, 0);
    RemoveFolder(ProgramFilesX86() + L"\\Glimmerdale 3D Screensaver");
  }
  static std::wstring ProgramFilesX86() {
    wchar_t folder[MAX_PATH] = {};
    SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILESX86, FALSE);
    return folder;
  }
  static void RemoveFolder(const std::wstring& folder) {
    DeleteFileW((folder + L"\\Glimmerdale 3D Screensaver.exe").c_str());
    RemoveDirectoryW(folder.c_str());
  }
  static void Touch(const std::wstring& path) { std::ofstream(path.c_str()) << "MZ"; }

  Win32Registry registry_;
  Win32System system_;
};

TEST_F(RegistryViews, TheUninstallKeyOfA32BitInstallerIsFound) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"glimmerdale-view";
  CreateDirectoryW(folder.c_str(), nullptr);
  Touch(folder + L"\\Glimmerdale 3D Screensaver.exe");
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstall, 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr));
  RegSetValueExW(key, L"InstallLocation", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() * sizeof(wchar_t)));
  RegCloseKey(key);

  EXPECT_EQ(FindMainProgram(registry_, system_), U16(folder + L"\\Glimmerdale 3D Screensaver.exe"));
  EXPECT_EQ(InstallFolder(registry_, system_), U16(folder));
  EXPECT_EQ(StartupCommand(registry_, system_),
            U16(L"\"" + folder + L"\\Glimmerdale 3D Screensaver.exe\" /w"));
  RemoveFolder(folder);
}

TEST_F(RegistryViews, TheProgramFolderIsThe32BitOne) {
  const std::wstring folder = ProgramFilesX86() + L"\\Glimmerdale 3D Screensaver";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  Touch(folder + L"\\Glimmerdale 3D Screensaver.exe");
  EXPECT_EQ(FindMainProgram(registry_, system_), U16(folder + L"\\Glimmerdale 3D Screensaver.exe"));
}

}  // namespace
}  // namespace glimmer::win32
