#include "app/shell.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "elevation/elevated_save.h"
#include "fakes/fake_platform.h"

namespace glimmer {
namespace {

class RecordingHost : public ModeHost {
 public:
  std::vector<std::string> calls;
  bool throwInMode = false;

  void StartUp() override { calls.push_back("start-up"); }
  void ShutDown() override { calls.push_back("shut-down"); }
  void Configure(std::int32_t owner) override {
    calls.push_back("configure " + std::to_string(owner));
    if (throwInMode) throw std::runtime_error("dialog failed");
  }
  void Preview(std::int32_t parent) override {
    calls.push_back("preview " + std::to_string(parent));
  }
  void ChangePassword() override { calls.push_back("password"); }
};

class Shell : public testing::Test {
 protected:
  fakes::FakePlatform platform_;
  RecordingHost host_;
};

TEST_F(Shell, RunsExactlyOneModeWithItsStartUp) {
  struct Case {
    const char16_t* line;
    std::vector<std::string> calls;
  } cases[] = {
      {u"s.scr", {"start-up", "configure 0", "shut-down"}},
      {u"s.scr /c:55", {"start-up", "configure 55", "shut-down"}},
      {u"s.scr /p 9", {"start-up", "preview 9", "shut-down"}},
      {u"s.scr /a 42", {"password"}},
      {u"s.scr /t", {}},
  };
  for (const auto& c : cases) {
    host_.calls.clear();
    RunShell(c.line, platform_.ports, host_);
    EXPECT_EQ(c.calls, host_.calls);
  }
  EXPECT_TRUE(platform_.processes.starts.empty());
  EXPECT_TRUE(platform_.ui.boxes.empty());
}

TEST_F(Shell, RunModeNeedsNoStartUp) {
  RunShell(u"s.scr /s", platform_.ports, host_);
  EXPECT_TRUE(host_.calls.empty());
  ASSERT_EQ(1u, platform_.ui.boxes.size()) << "no main program anywhere";
}

// The elevated instance starts nothing of the screensaver and shows nothing;
// its exit code tells whether it wrote.
TEST_F(Shell, TheElevatedInstanceRunsAloneAndReportsByItsExitCode) {
  const std::u16string line =
      u"\"C:\\G\\Glimmerdale.scr\" --glimmerdale-elevated-save 0123456789abcdef0123456789abcdef";
  EXPECT_EQ(RunShell(line, platform_.ports, host_), 2) << "no request to read";
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_TRUE(platform_.ui.boxes.empty());
  EXPECT_TRUE(platform_.processes.starts.empty());
  EXPECT_EQ(RunShell(u"s.scr /c", platform_.ports, host_), 0);
}

// A registry that fails in a way no status code tells: whatever escapes the
// elevated instance ends it as a failed write, never as success.
TEST_F(Shell, WhateverEscapesTheElevatedInstanceEndsItAsAFailedWrite) {
  struct ThrowingRegistry : fakes::FakeRegistry {
    long SetValue(RegKey, std::u16string_view, std::uint32_t, const std::uint8_t*,
                  std::uint32_t) override {
      throw std::bad_alloc();
    }
  } registry;
  const Platform platform{.registry = registry,
                          .system = platform_.system,
                          .processes = platform_.processes,
                          .ui = platform_.ui,
                          .windows = platform_.windows,
                          .resources = platform_.resources,
                          .files = platform_.files,
                          .direct3d9 = platform_.direct3d9,
                          .direct3d11 = platform_.direct3d11,
                          .monitors = platform_.monitors,
                          .wmi = platform_.wmi,
                          .directDraw = platform_.directDraw,
                          .displayDevices = platform_.displayDevices,
                          .elevation = platform_.elevation};
  const std::u16string token = u"0123456789abcdef0123456789abcdef";
  OsHandle mapping = 0;
  ASSERT_EQ(
      platform_.elevation.CreateSharedMemory(
          RequestMappingName(token),
          EncodeSaveRequest({SaveKind::Settings, {{u"", u"DisableMusic", u"2: 1"}}}), mapping),
      kErrorSuccess);
  EXPECT_EQ(
      RunShell(u"\"C:\\G\\Glimmerdale.scr\" --glimmerdale-elevated-save " + token, platform, host_),
      kElevatedSaveNotWritten);
  platform_.processes.CloseHandle(mapping);
}

TEST_F(Shell, AFailingModeStillShutsDownAndNothingEscapes) {
  host_.throwInMode = true;
  EXPECT_NO_THROW(RunShell(u"s.scr /c 1", platform_.ports, host_));
  EXPECT_EQ((std::vector<std::string>{"start-up", "configure 1", "shut-down"}), host_.calls);
}

}  // namespace
}  // namespace glimmer
