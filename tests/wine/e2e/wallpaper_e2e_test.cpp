// Live changes posted to a running wallpaper: the stand-in started with "/w"
// logs every message it receives, so the log shows what reached it and in
// which order: from the shell's settings dialog, and from the channel alone
// while the wallpaper comes and goes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "driver/driver.h"
#include "driver/settings_driver.h"
#include "resource_ids.h"
#include "settings/wallpaper.h"
#include "win32/windows_win32.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;

struct FoundWindow {
  DWORD processId;
  HWND window = nullptr;
};

BOOL CALLBACK FindWallpaperOf(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<FoundWindow*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[257] = {};
  GetClassNameW(window, name, 257);
  if (owner != search.processId || std::wstring(name) != L"Direct3D Window") return TRUE;
  search.window = window;
  return FALSE;
}

// The stand-in's wallpaper window, once it has made it.
HWND WallpaperWindowOf(DWORD processId) {
  FoundWindow search{processId};
  EnumWindows(FindWallpaperOf, reinterpret_cast<LPARAM>(&search));
  return search.window;
}

class RunningWallpaper {
 public:
  RunningWallpaper() {
    std::wstring line = L"\"" + ExecutableFolder() + L"stand-in-main.exe\" /w";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
      ADD_FAILURE() << "the stand-in did not start: " << GetLastError();
      return;
    }
    process_.reset(info.hProcess);
    OwnedHandle thread(info.hThread);
    processId_ = info.dwProcessId;
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (!(window_ = WallpaperWindowOf(processId_)) &&
           std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(20ms);
    EXPECT_NE(window_, nullptr) << "the stand-in made no wallpaper window";
  }
  ~RunningWallpaper() { Close(); }
  HWND Window() const { return window_; }
  // Closes the window and waits for the process, so its log is complete.
  void Close() {
    if (!process_) return;
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(process_.get(), 20000), WAIT_OBJECT_0);
    process_.reset();
  }

 private:
  OwnedHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

class WallpaperE2E : public testing::Test {
 protected:
  void SetUp() override {
    log_ = TempFolder() + L"glimmerdale-wallpaper-e2e.log";
    DeleteFileW(log_.c_str());
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_LOG", log_.c_str());
    // A stand-in left behind by a failed test ends on its own.
    SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_RUN_MS", L"60000");
  }
  void TearDown() override { DeleteFileW(log_.c_str()); }

  // The log, one entry per stand-in start: the messages it received.
  std::vector<std::vector<std::string>> MessagesPerStart() const {
    std::vector<std::vector<std::string>> starts;
    for (const std::string& line : ReadLines(log_)) {
      if (line == "start") starts.emplace_back();
      if (line.rfind("message: ", 0) == 0 && !starts.empty())
        starts.back().push_back(line.substr(9));
    }
    return starts;
  }

  std::wstring log_;
  win32::Win32Windows windows_;
};

// What the dialog posts, in the order it posts it, arrives: a drag of the
// music volume, then "Restore Defaults" and Cancel, each of which sends every
// code in the order a wallpaper has always been told.
TEST_F(WallpaperE2E, TheDialogsChangesArriveInItsOrder) {
  RunningWallpaper wallpaper;
  ASSERT_NE(wallpaper.Window(), nullptr);
  OwnerWindow owner;
  SettingsSession dialog(L"/c " + std::to_wstring(reinterpret_cast<INT_PTR>(owner.Handle())));
  ASSERT_NE(dialog.WaitForDialog(), nullptr);
  for (int volume : {90, 70, 40}) dialog.DragTrackBar(IDC_MUSIC_VOLUME, volume);
  dialog.Sync();
  dialog.Click(IDC_RESTORE_DEFAULTS);
  dialog.Click(IDCANCEL);
  ASSERT_TRUE(dialog.WaitForExit().has_value());
  wallpaper.Close();
  const std::vector<std::string> everything = {"6 0", "1 15", "2 1", "3 15", "4 1", "0 0", "5 0"};
  std::vector<std::string> expected = {"1 90", "1 70", "1 40"};
  for (int twice = 0; twice < 2; ++twice)
    expected.insert(expected.end(), everything.begin(), everything.end());
  EXPECT_EQ(MessagesPerStart(), std::vector<std::vector<std::string>>{expected});
}

TEST_F(WallpaperE2E, ARestartedWallpaperIsFoundAgain) {
  WallpaperChannel channel(windows_);
  channel.Open();
  EXPECT_EQ(channel.Window(), 0u) << "no wallpaper runs yet";
  channel.Post(2, 0);  // goes nowhere

  {
    RunningWallpaper first;
    ASSERT_NE(first.Window(), nullptr);
    channel.Post(1, 10);
    EXPECT_EQ(channel.Window(), reinterpret_cast<WindowHandle>(first.Window()));
  }
  channel.Post(1, 20);  // the wallpaper is gone
  EXPECT_EQ(channel.Window(), 0u);
  {
    RunningWallpaper second;
    ASSERT_NE(second.Window(), nullptr);
    channel.Post(1, 30);
    EXPECT_EQ(channel.Window(), reinterpret_cast<WindowHandle>(second.Window()));
  }
  EXPECT_EQ(MessagesPerStart(), (std::vector<std::vector<std::string>>{{"1 10"}, {"1 30"}}));
}

}  // namespace
}  // namespace glimmer::driver
