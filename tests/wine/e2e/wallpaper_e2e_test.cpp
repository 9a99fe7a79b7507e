// Live changes posted to a running wallpaper: the stand-in started with "/w"
// logs every message it receives, so the log shows what reached it and in
// which order.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/wallpaper.h"
#include "driver/driver.h"
#include "platform/ports.h"
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
  ScopedPorts ports_{Ports{.windows = &windows_}};
};

TEST_F(WallpaperE2E, ChangesArriveInPostingOrder) {
  RunningWallpaper wallpaper;
  ASSERT_NE(wallpaper.Window(), nullptr);
  WallpaperChannel channel;
  channel.Open();
  ASSERT_EQ(channel.Window(), reinterpret_cast<WindowHandle>(wallpaper.Window()));

  // A drag of the music volume, then what "Restore Defaults" sends.
  const std::vector<std::pair<std::uint32_t, std::int32_t>> changes = {
      {1, 90}, {1, 70}, {1, 40}, {6, -1}, {1, 100}, {2, 1}, {3, 100}, {4, 1}, {0, 0}, {5, 0}};
  std::vector<std::string> expected;
  for (const auto& [code, value] : changes) {
    channel.Post(code, value);
    expected.push_back(std::to_string(code) + " " + std::to_string(value));
  }
  wallpaper.Close();
  EXPECT_EQ(MessagesPerStart(), std::vector<std::vector<std::string>>{expected});
}

TEST_F(WallpaperE2E, ARestartedWallpaperIsFoundAgain) {
  WallpaperChannel channel;
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
