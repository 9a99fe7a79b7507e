// What the main program reads at its next start is exactly what was saved:
// by the settings dialog, by the elevated instance, or by anyone else. The
// stand-in, installed where "AppPath" points and started by the run mode,
// logs every value of the settings key as it read it; its log is held
// against the key.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "driver/settings_driver.h"
#include "driver/standard_user.h"
#include "elevation/save_request.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;
using Settings = std::map<std::wstring, std::wstring>;

// A log field back to its code units: "%HH" is a byte; the bytes are UTF-8,
// in which a lone surrogate is encoded as its code point would be.
std::wstring Decoded(const std::string& field) {
  std::string bytes;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && i + 2 < field.size()) {
      bytes += static_cast<char>(std::stoi(field.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      bytes += field[i];
    }
  }
  std::wstring text;
  for (size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    unsigned code = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length && i + k < bytes.size(); ++k)
      code = (code << 6) | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
    if (code >= 0x10000) {
      text += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
      text += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      text += static_cast<wchar_t>(code);
    }
    i += length;
  }
  return text;
}

void PutRaw(const std::wstring& name, DWORD type, const void* data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, nullptr, 0,
                            KEY_SET_VALUE | KEY_WOW64_64KEY, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
  RegCloseKey(key);
}

class MainProgramE2E : public testing::Test {
 protected:
  void SetUp() override {
    Wipe();
    scratch_ = TempFolder() + L"glimmerdale-main\\";
    RemoveTree(scratch_.substr(0, scratch_.size() - 1));
    app_ = scratch_ + L"app";
    ASSERT_TRUE(MakeFolders(app_));
    ASSERT_TRUE(CopyOver(ExecutableFolder() + L"stand-in-main.exe",
                         app_ + L"\\Glimmerdale 3D Screensaver.exe"));
    PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"AppPath", app_);
    log_ = scratch_ + L"stand-in.log";
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_LOG", log_.c_str());
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_RUN_MS", L"300");
  }
  void TearDown() override {
    Wipe();
    RemoveTree(scratch_.substr(0, scratch_.size() - 1));
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_LOG", nullptr);
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_RUN_MS", nullptr);
  }
  static void Wipe() { WipeSettingsAndRunEntry(); }

  // The key as the main program reads it: each value's data as UTF-16 code
  // units, up to the first zero.
  static Settings Key() {
    Settings key;
    for (const auto& value : KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath)) {
      std::wstring text(value.data.size() / 2, L'\0');
      std::memcpy(text.data(), value.data.data(), text.size() * 2);
      key[value.name] = text.substr(0, text.find(L'\0'));
    }
    return key;
  }

  // Starts the screensaver as Windows does; what the stand-in read.
  Settings ReadAtTheNextStart() {
    DeleteFileW(log_.c_str());
    const ShellRun run =
        RunAndAnswer(ExecutableFolder() + L"Glimmerdale.scr", L"/s", scratch_, 30s);
    EXPECT_TRUE(run.exited);
    EXPECT_TRUE(run.boxes.empty());
    Settings read;
    int starts = 0;
    size_t count = 0;
    for (const auto& line : ReadLines(log_)) {
      if (line == "start") ++starts;
      if (line.rfind("settings: ", 0) == 0) count = std::stoul(line.substr(10));
      if (line.rfind("setting: ", 0) != 0) continue;
      const size_t equals = line.find('=');
      EXPECT_NE(equals, std::string::npos) << line;
      const auto [at, added] =
          read.emplace(Decoded(line.substr(9, equals - 9)), Decoded(line.substr(equals + 1)));
      EXPECT_TRUE(added) << "read twice: " << ToUtf8(at->first);
    }
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(read.size(), count);
    return read;
  }

  std::wstring scratch_;
  std::wstring app_;
  std::wstring log_;
};

TEST_F(MainProgramE2E, ReadsWhatTheDialogSaved) {
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Language", L"3: fr");
  OwnerWindow owner;
  SettingsSession dialog(L"/c " + std::to_wstring(reinterpret_cast<INT_PTR>(owner.Handle())));
  ASSERT_NE(dialog.WaitForDialog(), nullptr) << "no settings dialog";
  dialog.DragTrackBar(IDC_MUSIC_VOLUME, 40);
  dialog.Click(IDC_ENABLE_SOUNDS);
  dialog.Click(IDC_EXIT_ON_MOUSE_MOVE);
  dialog.Click(IDOK);
  ASSERT_EQ(dialog.WaitForExit(), std::optional<DWORD>(0));

  const Settings read = ReadAtTheNextStart();
  EXPECT_EQ(read, Key());
  EXPECT_EQ(read.at(L"MusicVolumePercentage"), L"2: 40");
  EXPECT_EQ(read.at(L"DisableSound"), L"2: 1");
  EXPECT_EQ(read.at(L"DisableOnMouseActivate"), L"2: 0");
  EXPECT_EQ(read.at(L"Language"), L"3: fr");
  EXPECT_EQ(read.at(L"AppPath"), app_);
}

TEST_F(MainProgramE2E, ReadsWhatTheElevatedInstanceWrote) {
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"MusicVolumePercentage", L"2: 70");
  PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"DisableMusic", L"2: 0");
  const ShellRun elevated = RunElevatedInstance(EncodeSaveRequest(
      {SaveKind::Settings,
       {{u"", u"MusicVolumePercentage", u"2: 100"}, {u"", u"DisableMusic", u"2: 1"}}}));
  ASSERT_TRUE(elevated.exited);
  ASSERT_EQ(elevated.exitCode, 0u);

  const Settings read = ReadAtTheNextStart();
  EXPECT_EQ(read, Key());
  EXPECT_EQ(read, (Settings{{L"AppPath", app_},
                            {L"DisableMusic", L"2: 1"},
                            {L"MusicVolumePercentage", L"2: 100"}}));
}

// Whatever the key holds, the stand-in reads it whole and logs it as one
// line per value.
TEST_F(MainProgramE2E, ReadsOddValuesWhole) {
  const std::wstring lines = L"C:\\Music\\a 100%.mp3\nD:\\b=c.mp3\r\n";
  const std::wstring surrogates = L"\xD800x\xD83D\xDE00\xDC00";  // lone, pair, lone
  const std::wstring zeroInside(L"2: 5\0junk", 9);
  const std::wstring long1(300000, L'x');
  const DWORD number = 0x00410042;  // "BA" read as text
  PutRaw(L"Empty", REG_SZ, L"", 0);
  PutRaw(L"Odd", REG_SZ, "A\0B", 3);
  PutRaw(L"PlayList", REG_SZ, lines.c_str(), static_cast<DWORD>(lines.size() * 2));
  PutRaw(L"A\tname = 50%", REG_SZ, L"3: x", 8);
  PutRaw(L"Surrogates", REG_SZ, surrogates.c_str(), static_cast<DWORD>(surrogates.size() * 2));
  PutRaw(L"ZeroInside", REG_SZ, zeroInside.c_str(), static_cast<DWORD>(zeroInside.size() * 2));
  PutRaw(L"Long", REG_SZ, long1.c_str(), static_cast<DWORD>(long1.size() * 2));
  PutRaw(std::wstring(3000, L'n'), REG_SZ, L"2: 1", 8);
  PutRaw(L"Number", REG_DWORD, &number, sizeof(number));

  const Settings read = ReadAtTheNextStart();
  EXPECT_EQ(read, Key());
  EXPECT_EQ(read.size(), 10u);
  EXPECT_EQ(read.at(L"Empty"), L"");
  EXPECT_EQ(read.at(L"Odd"), L"A");
  EXPECT_EQ(read.at(L"PlayList"), lines);
  EXPECT_EQ(read.at(L"A\tname = 50%"), L"3: x");
  EXPECT_EQ(read.at(L"Surrogates"), surrogates);
  EXPECT_EQ(read.at(L"ZeroInside"), L"2: 5");
  EXPECT_EQ(read.at(L"Long"), long1);
  EXPECT_EQ(read.at(L"Number"), L"BA");
}

}  // namespace
}  // namespace glimmer::driver
