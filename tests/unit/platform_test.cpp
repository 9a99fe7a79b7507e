#include <gtest/gtest.h>

#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "platform/ports.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/text.h"

namespace glimmer {
namespace {

TEST(Utf8, RoundTripsAndEndsAtTheFirstNul) {
  const std::string francais =
      "Fran\xC3\xA7"
      "ais";
  EXPECT_EQ(francais, ToUtf8(u"Français"));
  EXPECT_EQ(9u, ToUtf8(u"Français").size());
  EXPECT_EQ(u"Français", FromUtf8(francais));
  // The last two-byte and the first three-byte sequence.
  EXPECT_EQ("\xDF\xBF", ToUtf8(u"\u07FF"));
  EXPECT_EQ("\xE0\xA0\x80", ToUtf8(u"\u0800"));
  EXPECT_EQ(u"\u07FF\u0800", FromUtf8("\xDF\xBF\xE0\xA0\x80"));
  EXPECT_EQ(u"\U0001F600x", FromUtf8("\xF0\x9F\x98\x80x"));
  EXPECT_EQ("\xF0\x9F\x98\x80", ToUtf8(u"\U0001F600"));
  EXPECT_EQ("ab", ToUtf8(std::u16string(u"ab\0cd", 5)));
  EXPECT_EQ(u"ab", FromUtf8(std::string("ab\0cd", 5)));
}

TEST(Utf8, IllFormedInputBecomesReplacementCharacters) {
  EXPECT_EQ(
      "a\xEF\xBF\xBD"
      "b",
      ToUtf8(u"a\xD800"
             u"b"));                                             // lone high surrogate
  EXPECT_EQ("\xEF\xBF\xBD", ToUtf8(std::u16string(1, 0xDC00)));  // lone low surrogate
  EXPECT_EQ(u"\uFFFDa", FromUtf8("\x80"
                                 "a"));                        // stray continuation byte
  EXPECT_EQ(u"\uFFFD\uFFFD", FromUtf8("\xC0\xAF"));            // overlong form
  EXPECT_EQ(u"\uFFFD\uFFFD\uFFFD", FromUtf8("\xE0\x9F\xBF"));  // U+07FF in three bytes
  EXPECT_EQ(u"\uFFFDa", FromUtf8("\xE2\x82"
                                 "a"));                        // truncated sequence
  EXPECT_EQ(u"\uFFFD\uFFFD\uFFFD", FromUtf8("\xED\xA0\x80"));  // encoded surrogate
  EXPECT_EQ(u"\uFFFD", FromUtf8("\xF4"));                      // cut at the end
}

class SystemHelpers : public testing::Test {
 protected:
  fakes::FakeRegistry registry_{true};
  fakes::FakeSystem system_;
};

TEST_F(SystemHelpers, Wow64IsTrueOnlyWhenEveryStepSaysSo) {
  system_.wow64 = true;
  EXPECT_TRUE(RunsUnderWow64(system_));
  system_.wow64CallSucceeds = false;
  EXPECT_FALSE(RunsUnderWow64(system_));
  system_.wow64CallSucceeds = true;
  system_.hasWow64Entries = false;
  EXPECT_FALSE(RunsUnderWow64(system_));
  system_.hasWow64Entries = true;
  system_.wow64 = false;
  EXPECT_FALSE(RunsUnderWow64(system_));
}

TEST_F(SystemHelpers, RegistryRightsFollowTheViewRule) {
  using View = fakes::FakeRegistry::View;
  registry_.PutString(kHkeyLocalMachine, u"Software\\P", u"v", u"native", View::Native);
  registry_.PutString(kHkeyLocalMachine, u"Software\\P", u"v", u"redirected", View::Redirected32);

  struct Case {
    bool wow64;
    bool prefer64;
    std::uint32_t readRights;
    std::uint32_t writeRights;
    const char16_t* seen;
  } cases[] = {{true, true, 0x20119, 0x102, u"native"},
               {true, false, 0x20019, 0x2, u"redirected"},
               {false, true, 0x20019, 0x2, u"redirected"},
               {false, false, 0x20019, 0x2, u"redirected"}};
  for (const auto& c : cases) {
    system_.wow64 = c.wow64;
    std::u16string out;
    ASSERT_EQ(kSOk, ReadRegistryString(registry_, system_, kHkeyLocalMachine, u"Software\\P", u"v",
                                       out, c.prefer64));
    EXPECT_EQ(c.readRights, registry_.AccessLog().back().access);
    // The fake stands for a 32-bit process on 64-bit Windows throughout, so
    // without the 64-bit flag the redirected view answers.
    EXPECT_EQ(c.seen, out);
    ASSERT_EQ(kSOk, WriteRegistryString(registry_, system_, kHkeyLocalMachine, u"Software\\W", u"v",
                                        u"x", c.prefer64));
    EXPECT_EQ(c.writeRights, registry_.AccessLog().back().access);
  }
  EXPECT_EQ(0u, registry_.OpenHandleCount()) << "a helper left a key open";
}

TEST_F(SystemHelpers, ReadReportsAFailedCloseAfterReplacingTheText) {
  registry_.PutString(kHkeyCurrentUser, u"K", u"v", u"new");
  registry_.FailNext("CloseKey", kErrorInvalidHandle);
  std::u16string out = u"old";
  EXPECT_EQ(kEFail,
            ReadRegistryString(registry_, system_, kHkeyCurrentUser, u"K", u"v", out, false));
  EXPECT_EQ(u"new", out);
}

TEST_F(SystemHelpers, WriteFailuresAreReported) {
  registry_.Deny(kHkeyLocalMachine, u"Software\\Locked", kKeySetValue);
  EXPECT_EQ(kEFail, WriteRegistryString(registry_, system_, kHkeyLocalMachine,
                                        u"Software\\Locked\\Deeper", u"v", u"x", true));
  registry_.FailNext("SetValue", kErrorAccessDenied);
  EXPECT_EQ(kEFail,
            WriteRegistryString(registry_, system_, kHkeyCurrentUser, u"K", u"v", u"x", false));
  EXPECT_EQ(0u, registry_.OpenHandleCount());
}

TEST_F(SystemHelpers, FileExistsAsksForAttributes) {
  system_.existingPaths = {u"C:\\Folder"};
  EXPECT_TRUE(FileExists(system_, u"C:\\Folder"));
  EXPECT_FALSE(FileExists(system_, u""));
  EXPECT_FALSE(FileExists(system_, u"C:\\Fold*"));
}

TEST_F(SystemHelpers, ClockIsCyclesPerMicrosecondOverTheWait) {
  // 3 GHz: 150,000,000 cycles in the 50 ms wait, 500,000 more for its calls,
  // which the reference measures (left in, they would read as 3010 MHz).
  system_.tscReadings = {1'000, 1'000 + 150'500'000, 5'000'000'000, 5'000'500'000};
  EXPECT_EQ(3000, MeasureCpuMhz(system_));

  // A counter barred to user code makes a measurement -1.
  system_.tscFaults = true;
  EXPECT_EQ(0, MeasureCpuMhz(system_));

  // Without a performance counter both measurements cover only the query.
  system_.tscFaults = false;
  system_.hasPerformanceCounter = false;
  system_.tscReadings = {0, 100, 0, 90};
  EXPECT_EQ(0, MeasureCpuMhz(system_));
}

TEST_F(SystemHelpers, ClockWaitsUntilTheCounterPassesFiftyMilliseconds) {
  system_.frequency = 1'000'000;  // 50,000 ticks are 50 ms
  system_.counterStep = 7;
  system_.tscReadings = {0, 1, 0, 1};
  const std::int64_t before = system_.counter;
  MeasureCpuMhz(system_);
  EXPECT_GE(system_.counter - before, 50'000);
  EXPECT_LT(system_.counter - before, 50'000 + 4 * 7);
}

}  // namespace
}  // namespace glimmer
