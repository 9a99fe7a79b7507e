// The DLLs the shell loads on first use: each from the system folder, once,
// with entries called through their declared types.
#include "win32/system_dlls.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <string>

#include "win32/windows_api.h"

// After <windows.h>.
#include <oleauto.h>

namespace glimmer::win32 {
namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring ModulePath(HMODULE module) {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(module, path, MAX_PATH);
  return Lower(std::wstring(path, length));
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  return Lower(std::wstring(path, length)) + L"\\";
}

struct DllCase {
  SystemDll dll;
  const wchar_t* name;
  const char* entry;  // one entry every version of the DLL exports
};

class SystemDlls : public testing::TestWithParam<DllCase> {};

TEST_P(SystemDlls, LoadOnceFromTheSystemFolder) {
  const DllCase& c = GetParam();
  EXPECT_STREQ(c.name, SystemDllName(c.dll));
  const HMODULE module = SystemDllModule(c.dll);
  ASSERT_NE(nullptr, module) << "error " << GetLastError();
  EXPECT_EQ(module, SystemDllModule(c.dll)) << "a second use must not load it again";
  const std::wstring path = ModulePath(module);
  if (c.dll == SystemDll::ComCtl32) {
    // Bound through the manifest, as in the shell: the version-6 controls of
    // the side-by-side store, never a copy beside the program.
    EXPECT_NE(path.find(L"\\winsxs\\"), std::wstring::npos) << path;
    EXPECT_NE(path.find(L"common-controls"), std::wstring::npos) << path;
  } else {
    EXPECT_EQ(SystemFolder() + c.name, path);
  }
  EXPECT_NE(nullptr, GetProcAddress(module, c.entry));
}

INSTANTIATE_TEST_SUITE_P(
    EveryDll, SystemDlls,
    testing::Values(DllCase{SystemDll::Shell32, L"shell32.dll", "SHGetSpecialFolderPathW"},
                    DllCase{SystemDll::Ole32, L"ole32.dll", "CoInitialize"},
                    DllCase{SystemDll::OleAut32, L"oleaut32.dll", "SysAllocStringLen"},
                    DllCase{SystemDll::ComCtl32, L"comctl32.dll", "InitCommonControlsEx"},
                    DllCase{SystemDll::ComDlg32, L"comdlg32.dll", "GetOpenFileNameW"},
                    DllCase{SystemDll::Direct3D9, L"d3d9.dll", "Direct3DCreate9"},
                    DllCase{SystemDll::Direct3D11, L"d3d11.dll", "D3D11CreateDevice"},
                    DllCase{SystemDll::DirectDraw, L"ddraw.dll", "DirectDrawCreateEx"},
                    DllCase{SystemDll::Mpr, L"mpr.dll", "WNetGetUserW"},
                    DllCase{SystemDll::BCrypt, L"bcrypt.dll", "BCryptGenRandom"},
                    DllCase{SystemDll::User32, L"user32.dll", "GetWindowTextW"}),
    [](const testing::TestParamInfo<DllCase>& info) {
      std::string name;
      for (const wchar_t* c = info.param.name; *c != L'.'; ++c) name += static_cast<char>(*c);
      return name;
    });

TEST(LazyEntry, CallsTheEntryWithItsArgumentsAndResult) {
  constexpr LazyEntry<decltype(&::SysAllocStringLen)> allocate{SystemDll::OleAut32,
                                                               "SysAllocStringLen"};
  constexpr LazyEntry<decltype(&::SysStringLen)> length{SystemDll::OleAut32, "SysStringLen"};
  constexpr LazyEntry<decltype(&::SysFreeString)> release{SystemDll::OleAut32, "SysFreeString"};
  // Only the first five characters: the length argument must arrive intact.
  BSTR text = allocate.CallOr<BSTR>(nullptr, L"glimmer and more", 5u);
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(std::wstring(L"glimm"), std::wstring(text));
  EXPECT_EQ(5u, length.CallOr(12345u, text));
  release.Call(text);
}

TEST(LazyEntry, AMissingEntryGivesTheFallbackAndCallsNothing) {
  constexpr LazyEntry<decltype(&::SysStringLen)> missing{SystemDll::OleAut32,
                                                         "NoSuchEntryAnywhere"};
  EXPECT_EQ(nullptr, missing.Get());
  EXPECT_EQ(12345u, missing.CallOr(12345u, nullptr));
  constexpr LazyEntry<decltype(&::SysFreeString)> missingVoid{SystemDll::OleAut32,
                                                              "NoSuchEntryAnywhere"};
  missingVoid.Call(nullptr);  // must not jump through a null pointer
}

}  // namespace
}  // namespace glimmer::win32
