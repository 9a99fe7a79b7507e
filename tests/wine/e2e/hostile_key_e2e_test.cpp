// A settings key full of junk of every kind: the dialog and the playlist
// editor still open, OK writes only well-formed value texts, and nothing that
// was valid is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <map>

#include "driver/settings_driver.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;

void Put(const std::wstring& key, const wchar_t* name, DWORD type, const void* data, DWORD size) {
  HKEY opened = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0,
                                           KEY_SET_VALUE, nullptr, &opened, nullptr));
  RegSetValueExW(opened, name, 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(opened);
}

void PutText(const std::wstring& key, const wchar_t* name, const std::wstring& text,
             DWORD type = REG_SZ) {
  Put(key, name, type, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

// "<type digit>: <value>", with an integer after "2: ".
bool WellFormed(const RawRegistryValue& value) {
  if (value.type != REG_SZ || value.data.size() % 2 != 0) return false;
  const std::wstring text(reinterpret_cast<const wchar_t*>(value.data.data()),
                          value.data.size() / 2);
  if (text.size() < 3 || text[0] < L'0' || text[0] > L'4' || text.compare(1, 2, L": ") != 0)
    return false;
  if (text[0] != L'2') return true;
  std::size_t at = 3;
  if (at < text.size() && text[at] == L'-') ++at;
  return at < text.size() && std::all_of(text.begin() + static_cast<long>(at), text.end(),
                                         [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

TEST(HostileKey, TheDialogCopesAndOkWritesOnlyWellFormedTexts) {
  const std::wstring key = kSettingsKeyPath;
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
  const DWORD number = 70;
  const BYTE binary[] = {0xFF, 0xFE, 0x00, 0xD8, 0x01};
  Put(key, L"MusicVolumePercentage", REG_DWORD, &number, sizeof number);
  Put(key, L"DisableMusic", REG_BINARY, binary, sizeof binary);
  PutText(key, L"DisableSound", std::wstring(L"2: 1\0second\0", 12), REG_MULTI_SZ);
  PutText(key, L"SoundsVolumePercentage", L"2: %SystemRoot%", REG_EXPAND_SZ);
  PutText(key, L"DisableOnMouseActivate", L"3: not a number");
  PutText(key, L"Antialiasing", L"1: 2.5");
  PutText(key, L"HighQualityTextures", L"2: " + std::wstring(4093, L'7'));  // 4 KiB
  PutText(key, L"Language", L"3: " + std::wstring(1997, L'x'));
  PutText(key, L"CurMonitor", L"2: -1");
  PutText(key, L"CurMonitor1", L"2: 2147483647");
  PutText(key, L"ModeWidth", L"2: 99999999999999999999");
  PutText(key, L"a/b", L"2: 5");
  PutText(key, L"ShowFPS", L"2: 1");  // valid, and no control edits it
  PutText(key, L"UsePlaylist", L"2: 1");
  std::wstring deep = key;
  for (int level = 0; level < 12; ++level) deep += L"\\level" + std::to_wstring(level);
  PutText(deep, L"Bottom", L"2: 3");
  std::wstring playlist;
  for (int line = 0; line < 100000; ++line)
    playlist += L"C:\\Music\\missing-" + std::to_wstring(line) + L".mp3\n";
  PutText(key, L"PlayList", playlist);
  const auto before = KeyValues(HKEY_LOCAL_MACHINE, key.c_str());

  OwnerWindow owner;
  SettingsSession dialog(L"/c " + std::to_wstring(reinterpret_cast<INT_PTR>(owner.Handle())));
  ASSERT_NE(dialog.WaitForDialog(60s), nullptr) << "the dialog did not open";
  EXPECT_TRUE(dialog.Enabled(IDC_EDIT_PLAYLIST));

  // The playlist editor opens on the huge value and is cancelled.
  dialog.ClickAndGoOn(IDC_EDIT_PLAYLIST);
  HWND editor = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (HWND window : DialogsOf(dialog.ProcessId()))
          if (window != dialog.Dialog() && GetDlgItem(window, IDC_PLAYLIST_LIST)) editor = window;
        return editor != nullptr;
      },
      60s))
      << "the playlist editor did not open";
  PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(editor); }, 30s));

  dialog.Click(IDOK);
  const auto code = dialog.WaitForExit(30s);
  ASSERT_TRUE(code.has_value());
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(dialog.AnswerMessageBoxes().empty());

  std::map<std::wstring, RawRegistryValue> earlier;
  for (const auto& value : before) earlier[value.name] = value;
  for (const auto& value : KeyValues(HKEY_LOCAL_MACHINE, key.c_str())) {
    const auto old = earlier.find(value.name);
    if (old != earlier.end() && old->second == value) continue;  // untouched
    EXPECT_TRUE(WellFormed(value)) << ToUtf8(value.name) << " was rewritten badly";
  }
  // What was valid and not edited by a control is still there.
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, key.c_str(), L"ShowFPS"), L"2: 1");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, key.c_str(), L"PlayList"), playlist);
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, key.c_str(), L"Language"),
            L"3: " + std::wstring(1997, L'x'));
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, deep.c_str(), L"Bottom"), L"2: 3");
  EXPECT_EQ(GetString(HKEY_LOCAL_MACHINE, key.c_str(), L"UsePlaylist"), L"2: 1");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, key.c_str());
}

}  // namespace
}  // namespace glimmer::driver
