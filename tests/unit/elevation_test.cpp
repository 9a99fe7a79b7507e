// Saving as a standard user, against the fakes: the probe, the request from
// the tree and back, what the elevated instance refuses, its command line,
// and its run.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "elevation/elevated_save.h"
#include "fakes/fake_elevation.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace glimmer {
namespace {

const std::u16string kKey(kSettingsKey);
const std::u16string kToken = u"0123456789abcdef0123456789abcdef";

SaveRequest Settings(std::vector<SaveEntry> entries) {
  return {SaveKind::Settings, std::move(entries)};
}

TEST(SaveRequest, TheTreeBecomesWhatItsSaveWritesAndComesBackWhole) {
  Node tree;
  tree["MusicVolumePercentage"] = 15;
  tree["X"] = 0.5f;
  tree["Language"] = u"de";
  tree["Empty"] = u"";
  tree["Unset"];
  tree["Sub/Deeper/n"] = -7;
  for (const char16_t* spelling : {u"AppPath", u"appPath", u"APPPATH", u"Sub/AppPath"})
    tree[spelling] = u"C:\\Elsewhere";
  const std::optional<SaveRequest> request = SettingsRequestFor(tree);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(*request, Settings({{u"", u"Language", u"3: de"},
                                {u"", u"MusicVolumePercentage", u"2: 15"},
                                {u"Sub\\Deeper", u"n", u"2: -7"},
                                {u"", u"X", u"1: 0.500000"}}));
  EXPECT_EQ(DecodeSaveRequest(EncodeSaveRequest(*request)), request);
  EXPECT_TRUE(IsAcceptableSaveRequest(*request));

  tree["Long"] = std::u16string(2046, u'x');  // more than the loader reads back
  EXPECT_FALSE(SettingsRequestFor(tree).has_value());

  const SaveRequest playlist = PlaylistRequestFor(u"C:\\a.mp3\nC:\\b.mp3\n");
  EXPECT_EQ(DecodeSaveRequest(EncodeSaveRequest(playlist)), playlist);
  EXPECT_TRUE(IsAcceptableSaveRequest(playlist));
  EXPECT_TRUE(IsAcceptableSaveRequest(PlaylistRequestFor(u"")));
}

TEST(SaveRequest, OnlyOneWholeRequestDecodes) {
  const std::vector<std::uint8_t> whole =
      EncodeSaveRequest(Settings({{u"", u"A", u"2: 1"}, {u"S", u"B", u"3: text"}}));
  for (std::size_t length = 0; length < whole.size(); ++length)
    EXPECT_FALSE(DecodeSaveRequest(std::span(whole).first(length))) << "cut at " << length;
  // The zeros of the rest of the mapping's page do not count.
  std::vector<std::uint8_t> padded = whole;
  padded.resize(4096, 0);
  EXPECT_TRUE(DecodeSaveRequest(padded));

  const auto changed = [&](std::size_t at, std::uint8_t byte) {
    std::vector<std::uint8_t> bytes = whole;
    bytes[at] = byte;
    return DecodeSaveRequest(bytes).has_value();
  };
  EXPECT_FALSE(changed(0, 'X')) << "magic";
  EXPECT_FALSE(changed(4, 2)) << "version";
  EXPECT_FALSE(changed(8, 3)) << "kind";
  EXPECT_FALSE(changed(12, static_cast<std::uint8_t>(whole.size() + 1))) << "length past the end";
  EXPECT_FALSE(changed(12, static_cast<std::uint8_t>(whole.size() - 2))) << "length inside";
  EXPECT_FALSE(changed(16, 3)) << "more entries than there are";
  EXPECT_FALSE(changed(19, 0x7F)) << "a count no request can hold";
  EXPECT_FALSE(changed(20, 0xFF)) << "a key longer than the request";
  std::vector<std::uint8_t> oversized = whole;
  oversized[15] = 0x7F;  // a length of nearly two gigabytes
  oversized.resize(kMaxSaveRequestBytes + 1);
  EXPECT_FALSE(DecodeSaveRequest(oversized));
}

TEST(SaveRequest, TheElevatedInstanceRefusesAnythingButTheProductsSettings) {
  struct Case {
    const char* what;
    SaveRequest request;
  };
  const std::u16string longName(16384, u'n');
  const Case refused[] = {
      {"AppPath", Settings({{u"", u"AppPath", u"3: C:\\Evil"}})},
      {"AppPath in another case", Settings({{u"", u"aPPpATH", u"3: C:\\Evil"}})},
      {"AppPath in a subkey", Settings({{u"Sub", u"AppPath", u"3: C:\\Evil"}})},
      {"a key from the root", Settings({{u"\\Software", u"V", u"2: 1"}})},
      {"a trailing backslash", Settings({{u"Sub\\", u"V", u"2: 1"}})},
      {"an empty key name", Settings({{u"A\\\\B", u"V", u"2: 1"}})},
      {"a slash in a name", Settings({{u"", u"a/b", u"2: 1"}})},
      {"a control character", Settings({{u"", u"a\nb", u"2: 1"}})},
      {"a name too long for the registry", Settings({{u"", longName, u"2: 1"}})},
      {"no value text", Settings({{u"", u"V", u"C:\\Games"}})},
      {"type 4", Settings({{u"", u"V", u"4: x"}})},
      {"no blank", Settings({{u"", u"V", u"2:1"}})},
      {"a number not as the save prints it", Settings({{u"", u"V", u"2: 015"}})},
      {"more after the number", Settings({{u"", u"V", u"2: 1 "}})},
      {"a float not as %f prints it", Settings({{u"", u"V", u"1: 0.5"}})},
      {"an empty string", Settings({{u"", u"V", u"3: "}})},
      {"a string too long to read back",
       Settings({{u"", u"V", u"3: " + std::u16string(2046, u's')}})},
      {"one value twice", Settings({{u"", u"V", u"2: 1"}, {u"", u"V", u"2: 2"}})},
      {"a value where a subkey goes", Settings({{u"", u"V", u"2: 1"}, {u"V", u"W", u"2: 2"}})},
      {"a subkey where a value goes", Settings({{u"V", u"W", u"2: 2"}, {u"", u"V", u"2: 1"}})},
      {"a playlist under another name",
       {SaveKind::Playlist, {{u"", u"Playlist2", u"C:\\a.mp3\n"}}}},
      {"a playlist in a subkey", {SaveKind::Playlist, {{u"Sub", u"PlayList", u"C:\\a.mp3\n"}}}},
      {"two playlists",
       {SaveKind::Playlist, {{u"", u"PlayList", u"C:\\a.mp3\n"}, {u"", u"PlayList", u""}}}},
      {"no playlist at all", {SaveKind::Playlist, {}}},
      {"an entry without its line feed", PlaylistRequestFor(u"C:\\a.mp3")},
      {"an empty entry", PlaylistRequestFor(u"C:\\a.mp3\n\n")},
      {"a comment", PlaylistRequestFor(u"#C:\\a.mp3\n")},
      {"a carriage return", PlaylistRequestFor(u"C:\\a.mp3\r\n")},
      {"a line longer than the editor reads",
       PlaylistRequestFor(std::u16string(2023, u'x') + u"\n")},
  };
  for (const Case& c : refused) EXPECT_FALSE(IsAcceptableSaveRequest(c.request)) << c.what;
  // Names are only names below the settings key: ".." is a key like any other.
  EXPECT_TRUE(IsAcceptableSaveRequest(Settings({{u"..\\..\\Run", u"V", u"2: 1"}})));
}

TEST(ElevatedSaveCommandLine, OnlyTheOneExactFormIsTheElevatedInstance) {
  const std::u16string option = u" --glimmerdale-elevated-save ";
  EXPECT_EQ(ElevatedSaveToken(u"\"C:\\G\\Glimmerdale.scr\"" + option + kToken), kToken);
  EXPECT_EQ(ElevatedSaveToken(u"Glimmerdale.scr" + option + kToken), kToken);
  const std::u16string others[] = {
      u"\"C:\\G\\Glimmerdale.scr\"" + option + u"0123456789ABCDEF0123456789abcdef",
      u"\"C:\\G\\Glimmerdale.scr\"" + option + kToken.substr(1),
      u"\"C:\\G\\Glimmerdale.scr\"" + option + kToken + u" ",
      u"\"C:\\G\\Glimmerdale.scr\"" + option + kToken + u"0",
      u"\"C:\\G\\Glimmerdale.scr\"  --glimmerdale-elevated-save " + kToken,
      u"\"C:\\G\\Glimmerdale.scr\" --glimmerdale-elevated-save  " + kToken,
      u"\"C:\\G\\Glimmerdale.scr\" --Glimmerdale-Elevated-Save " + kToken,
      u"\"C:\\G\\Glimmerdale.scr\" /s" + option + kToken,
      u"\"C:\\G\\Glimmerdale.scr" + option + kToken,
      option.substr(1) + kToken,
  };
  for (const std::u16string& line : others) {
    EXPECT_FALSE(ElevatedSaveToken(line)) << ToUtf8(line);
    // Every other line keeps what the screensaver options make of it.
    const LaunchMode mode = ParseCommandLine(line).mode;
    EXPECT_TRUE(mode == LaunchMode::Run || mode == LaunchMode::Configure) << ToUtf8(line);
  }
  EXPECT_EQ(RequestMappingName(kToken), u"Local\\GlimmerdaleSaveRequest-" + kToken);
}

class ElevatedSave : public testing::Test {
 protected:
  ElevatedSave() : registry_(/*wow64=*/true) { system_.wow64 = true; }

  // A request the user's instance made, waiting for the elevated one.
  OsHandle Offer(const std::vector<std::uint8_t>& bytes) {
    OsHandle mapping = 0;
    EXPECT_EQ(elevation_.CreateSharedMemory(RequestMappingName(kToken), bytes, mapping),
              kErrorSuccess);
    return mapping;
  }
  int Run() { return RunElevatedSave(kToken, elevation_, registry_, system_); }
  std::optional<std::u16string> Stored(std::u16string_view key, std::u16string_view name) const {
    const auto raw = registry_.Get(kHkeyLocalMachine, key, name);
    if (!raw) return std::nullopt;
    return TextFromRegistryBytes(raw->data.data(), raw->data.size());
  }

  fakes::FakeRegistry registry_;
  fakes::FakeSystem system_;
  fakes::FakeProcesses processes_;
  fakes::FakeElevation elevation_{processes_};
};

TEST_F(ElevatedSave, WritesExactlyTheRequestInTheNativeView) {
  registry_.PutString(kHkeyLocalMachine, kKey, u"AppPath", u"C:\\Installed");
  Offer(EncodeSaveRequest(
      Settings({{u"", u"MusicVolumePercentage", u"2: 40"}, {u"Sub", u"n", u"1: 2.500000"}})));
  EXPECT_EQ(Run(), kElevatedSaveWritten);
  EXPECT_EQ(Stored(kKey, u"MusicVolumePercentage"), u"2: 40");
  EXPECT_EQ(Stored(kKey + u"\\Sub", u"n"), u"1: 2.500000");
  EXPECT_EQ(Stored(kKey, u"AppPath"), u"C:\\Installed");
  EXPECT_EQ(registry_.ValueNames(kHkeyLocalMachine, kKey).size(), 2u);
  EXPECT_FALSE(registry_.HasKey(kHkeyLocalMachine, kKey, fakes::FakeRegistry::View::Redirected32));
}

TEST_F(ElevatedSave, RefusesWithoutTouchingTheRegistry) {
  registry_.PutString(kHkeyLocalMachine, kKey, u"AppPath", u"C:\\Installed");
  const auto before = registry_.Get(kHkeyLocalMachine, kKey, u"AppPath");
  EXPECT_EQ(Run(), kElevatedSaveNoRequest);

  std::vector<std::uint8_t> truncated = EncodeSaveRequest(
      Settings({{u"", u"MusicVolumePercentage", u"2: 40"}, {u"", u"DisableMusic", u"2: 1"}}));
  truncated.resize(truncated.size() - 2);
  const OsHandle first = Offer(truncated);
  EXPECT_EQ(Run(), kElevatedSaveRefused);
  processes_.CloseHandle(first);

  const OsHandle second = Offer(EncodeSaveRequest(
      Settings({{u"", u"MusicVolumePercentage", u"2: 40"}, {u"", u"APPPATH", u"3: C:\\Evil"}})));
  EXPECT_EQ(Run(), kElevatedSaveRefused);
  processes_.CloseHandle(second);

  EXPECT_EQ(registry_.ValueNames(kHkeyLocalMachine, kKey), std::vector<std::u16string>{u"AppPath"});
  EXPECT_EQ(registry_.Get(kHkeyLocalMachine, kKey, u"AppPath")->data, before->data);

  // A refused write stops the save there, as the tree's own save does.
  registry_.Deny(kHkeyLocalMachine, kKey, kKeySetValue);
  Offer(EncodeSaveRequest(Settings({{u"", u"MusicVolumePercentage", u"2: 40"}})));
  EXPECT_EQ(Run(), kElevatedSaveNotWritten);
}

TEST_F(ElevatedSave, TheProbeWritesNothingAndAsksAsTheSaveWould) {
  EXPECT_TRUE(SettingsKeyWritable(registry_, system_)) << "missing key, writable parents";
  EXPECT_FALSE(registry_.HasKey(kHkeyLocalMachine, kKey));
  const auto& asked = registry_.AccessLog();
  ASSERT_GE(asked.size(), 2u);
  EXPECT_EQ(asked[0].access, kKeySetValue | kKeyWow64_64Key);
  EXPECT_EQ(asked[1].path, u"Software\\Vellumark");
  EXPECT_EQ(asked[1].access, kKeyCreateSubKey | kKeyWow64_64Key);

  registry_.Deny(kHkeyLocalMachine, u"Software", kKeyCreateSubKey | kKeySetValue);
  EXPECT_FALSE(SettingsKeyWritable(registry_, system_)) << "a parent refuses the subkey";
  registry_.PutKey(kHkeyLocalMachine, kKey);
  EXPECT_FALSE(SettingsKeyWritable(registry_, system_)) << "the key refuses its values";
  EXPECT_EQ(registry_.OpenHandleCount(), 0u);
}

}  // namespace
}  // namespace glimmer
