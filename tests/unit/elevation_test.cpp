// Saving as a standard user, against the fakes: the probe, the request from
// the tree and back, what the elevated instance refuses, its command line,
// and its run.
#include <gtest/gtest.h>

#include "app/command_line.h"
#include "elevation/elevated_save.h"
#include "fakes/fake_platform.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "settings/settings_table.h"

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
  tree["Sub"].AsSubtree()->children[u""] = u"default";  // the subkey's default value
  // Left out: the installer's value, and names no registry key or loaded value has.
  for (const char16_t* spelling : {u"AppPath", u"appPath", u"APPPATH", u"Sub/AppPath"})
    tree[spelling] = u"C:\\Elsewhere";
  tree["AppPath2/AppPath/v"] = 1;
  tree["Bad//v"] = 1;  // a key named ""
  tree["Ctl/x"] = 1;
  tree["Ctl"].AsSubtree()->children[u"a\tb"] = 1;
  std::string deep = "D";
  for (std::size_t depth = 1; depth <= kMaxKeyDepth; ++depth) deep += "/D";
  tree[deep + "/v"] = 1;  // one level deeper than a request goes
  const std::optional<SaveRequest> request = SettingsRequestFor(tree);
  ASSERT_TRUE(request.has_value());
  EXPECT_EQ(*request, Settings({{u"Ctl", u"x", u"2: 1"},
                                {u"", u"Language", u"3: de"},
                                {u"", u"MusicVolumePercentage", u"2: 15"},
                                {u"Sub", u"", u"3: default"},
                                {u"Sub\\Deeper", u"n", u"2: -7"},
                                {u"", u"X", u"1: 0.500000"}}));
  EXPECT_EQ(DecodeSaveRequest(EncodeSaveRequest(*request)), request);
  EXPECT_TRUE(IsAcceptableSaveRequest(*request, tree)) << "everything as held";

  tree["Long"] = std::u16string(2046, u'x');  // more than the loader reads back
  EXPECT_FALSE(SettingsRequestFor(tree).has_value());
  tree.children.erase(u"Long");
  for (int i = 0; i < static_cast<int>(kMaxSaveEntries); ++i) tree["V" + std::to_string(i)] = i;
  EXPECT_FALSE(SettingsRequestFor(tree).has_value()) << "more values than a request holds";

  const SaveRequest playlist = PlaylistRequestFor(u"C:\\a.mp3\nC:\\b.mp3\n");
  EXPECT_EQ(DecodeSaveRequest(EncodeSaveRequest(playlist)), playlist);
  EXPECT_TRUE(IsAcceptableSaveRequest(playlist, Node()));
  EXPECT_TRUE(IsAcceptableSaveRequest(PlaylistRequestFor(u""), Node()));
}

TEST(SaveRequest, OnlyOneWholeRequestWithinTheLimitsDecodes) {
  const std::vector<std::uint8_t> whole =
      EncodeSaveRequest(Settings({{u"", u"A", u"2: 1"}, {u"S", u"B", u"3: text"}}));
  for (std::size_t length = 0; length < whole.size(); ++length)
    EXPECT_FALSE(DecodeSaveRequest(std::span(whole).first(length))) << "cut at " << length;
  // The zeros of the rest of the mapping's page do not count; anything else does.
  std::vector<std::uint8_t> padded = whole;
  padded.resize(4096, 0);
  EXPECT_TRUE(DecodeSaveRequest(padded));
  padded[4000] = 1;
  EXPECT_FALSE(DecodeSaveRequest(padded)) << "bytes after the request";

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

  // Each field and the whole are bounded before anything is allocated for them.
  const std::u16string deepKey = [] {
    std::u16string key(255, u'k');
    for (std::size_t depth = 1; depth < kMaxKeyDepth; ++depth)
      key += u"\\" + std::u16string(255, u'k');
    return key;
  }();
  struct Bound {
    const char* what;
    SaveRequest within;
    SaveRequest beyond;
  };
  const Bound bounds[] = {
      {"key", Settings({{deepKey, u"V", u"2: 1"}}), Settings({{deepKey + u"k", u"V", u"2: 1"}})},
      {"name", Settings({{u"", std::u16string(2047, u'n'), u"2: 1"}}),
       Settings({{u"", std::u16string(2048, u'n'), u"2: 1"}})},
      {"value text", Settings({{u"", u"V", u"3: " + std::u16string(2045, u't')}}),
       Settings({{u"", u"V", u"3: " + std::u16string(2046, u't')}})},
      {"entries", Settings(std::vector<SaveEntry>(kMaxSaveEntries)),
       Settings(std::vector<SaveEntry>(kMaxSaveEntries + 1))},
      {"settings request",
       Settings(std::vector<SaveEntry>(400, {u"", std::u16string(1290, u'n'), u"2: 1"})),
       Settings(std::vector<SaveEntry>(410, {u"", std::u16string(1290, u'n'), u"2: 1"}))},
  };
  for (const Bound& bound : bounds) {
    EXPECT_TRUE(DecodeSaveRequest(EncodeSaveRequest(bound.within))) << bound.what;
    EXPECT_FALSE(DecodeSaveRequest(EncodeSaveRequest(bound.beyond))) << bound.what;
  }
  // A playlist of one unit more than the longest: all there, and still refused.
  std::vector<std::uint8_t> playlist = EncodeSaveRequest(PlaylistRequestFor(u"p"));
  const std::size_t units = (kMaxSaveRequestBytes - playlist.size()) / 2 + 2;
  playlist.resize(playlist.size() - 2 + 2 * units, 'p');
  const auto put = [&](std::size_t at, std::size_t word) {
    for (int i = 0; i < 4; ++i) playlist[at + i] = static_cast<std::uint8_t>(word >> (8 * i));
  };
  put(12, playlist.size());
  put(28, units);
  EXPECT_FALSE(DecodeSaveRequest(playlist));
  put(12, playlist.size() - 4);  // the same, cut to the longest, is read
  put(28, units - 2);
  playlist.resize(playlist.size() - 4);
  EXPECT_TRUE(DecodeSaveRequest(playlist));
}

// What the key holds in these cases, as the tree reads it.
Node HeldTree() {
  Node held;
  held["AppPath"] = u"C:\\G";
  held["Language"] = u"de";
  held["ShowFPS"] = 1;
  held["MonitorAspectRatio"] = 2;
  held["Unknown"] = 7;
  held["Sub/n"] = -7;
  held["Sub"].AsSubtree()->children[u""] = u"x";
  return held;
}

TEST(SaveRequest, TheElevatedInstanceWritesOnlyWhatTheDialogCouldHaveWritten) {
  struct Case {
    const char* what;
    SaveRequest request;
  };
  const Case accepted[] = {
      {"volumes at their ends", Settings({{u"", u"MusicVolumePercentage", u"2: 0"},
                                          {u"", u"SoundsVolumePercentage", u"2: 100"}})},
      {"on/off settings",
       Settings({{u"", u"DisableMusic", u"2: 1"}, {u"", u"UsePlaylist", u"2: 0"}})},
      {"antialiasing off, on and the most samples",
       Settings({{u"", u"Antialiasing", u"2: 31"}, {u"", u"HighQualityGraphics", u"2: 1"}})},
      {"the last monitor and its own mode", Settings({{u"", u"CurMonitor", u"2: 8"},
                                                      {u"", u"UseDesktopRes8", u"2: 0"},
                                                      {u"", u"ModeWidth8", u"2: 640"},
                                                      {u"", u"ModeHeight8", u"2: 16384"},
                                                      {u"", u"ModeFormat8", u"2: 22"}})},
      {"the defaults of settings without a control",
       Settings({{u"", u"ShowFPS", u"2: 0"}, {u"", u"MonitorAspectRatio", u"2: 4"}})},
      {"what the key holds, written back", Settings({{u"", u"Language", u"3: de"},
                                                     {u"", u"ShowFPS", u"2: 1"},
                                                     {u"", u"MonitorAspectRatio", u"2: 2"},
                                                     {u"", u"Unknown", u"2: 7"},
                                                     {u"Sub", u"n", u"2: -7"},
                                                     {u"Sub", u"", u"3: x"}})},
      {"the longest line the editor reads",
       PlaylistRequestFor(std::u16string(kMaxPlaylistLine, u'x') + u"\n")},
  };
  const std::u16string longName(2048, u'n');
  const std::u16string deep = [] {
    std::u16string key = u"Sub";
    for (std::size_t depth = 1; depth <= kMaxKeyDepth; ++depth) key += u"\\Sub";
    return key;
  }();
  const Case refused[] = {
      // The installer's value, by every route.
      {"AppPath", Settings({{u"", u"AppPath", u"3: C:\\Evil"}})},
      {"AppPath as it stands", Settings({{u"", u"AppPath", u"3: C:\\G"}})},
      {"AppPath in another case", Settings({{u"", u"aPPpATH", u"3: C:\\Evil"}})},
      {"AppPath through the key field", Settings({{u"AppPath", u"", u"3: C:\\Evil"}})},
      {"AppPath in a subkey", Settings({{u"Sub", u"AppPath", u"3: C:\\Evil"}})},
      {"the key's default value", Settings({{u"", u"", u"3: C:\\Evil"}})},
      {"a subkey's default value changed", Settings({{u"Sub", u"", u"3: y"}})},
      // Settings only with what the dialog can write.
      {"a volume above 100", Settings({{u"", u"MusicVolumePercentage", u"2: 500"}})},
      {"a volume below 0", Settings({{u"", u"SoundsVolumePercentage", u"2: -1"}})},
      {"an on/off setting of 2", Settings({{u"", u"DisableSound", u"2: 2"}})},
      {"more samples than 31", Settings({{u"", u"Antialiasing", u"2: 32"}})},
      {"a tenth monitor", Settings({{u"", u"CurMonitor", u"2: 9"}})},
      {"a tenth monitor's mode", Settings({{u"", u"UseDesktopRes9", u"2: 1"}})},
      {"monitor 0 by number", Settings({{u"", u"UseDesktopRes0", u"2: 1"}})},
      {"a monitor number with a leading zero", Settings({{u"", u"ModeWidth01", u"2: 800"}})},
      {"a mode below 640", Settings({{u"", u"ModeWidth", u"2: 639"}})},
      {"a format the list never shows", Settings({{u"", u"ModeFormat", u"2: 21"}})},
      {"ShowFPS other than held", Settings({{u"", u"ShowFPS", u"2: 2"}})},
      {"an aspect ratio other than held", Settings({{u"", u"MonitorAspectRatio", u"2: 3"}})},
      {"a setting as a float", Settings({{u"", u"MusicVolumePercentage", u"1: 40.000000"}})},
      {"a setting as a string", Settings({{u"", u"MusicVolumePercentage", u"3: 40"}})},
      {"a setting in another case", Settings({{u"", u"musicVolumePercentage", u"2: 40"}})},
      {"a setting in a subkey", Settings({{u"Sub", u"MusicVolumePercentage", u"2: 40"}})},
      {"a new language", Settings({{u"", u"Language", u"3: fr"}})},
      {"the playlist as a setting", Settings({{u"", u"PlayList", u"3: C:\\a.mp3"}})},
      {"a value the product does not have", Settings({{u"", u"Other", u"2: 1"}})},
      {"a value held with another number", Settings({{u"", u"Unknown", u"2: 8"}})},
      {"a value held as another type", Settings({{u"", u"Unknown", u"3: 7"}})},
      {"a subkey not held", Settings({{u"..\\..\\Run", u"V", u"2: 1"}})},
      {"a key deeper than any request", Settings({{deep, u"n", u"2: 1"}})},
      // Places and forms of the tree's save.
      {"a key from the root", Settings({{u"\\Software", u"V", u"2: 1"}})},
      {"a trailing backslash", Settings({{u"Sub\\", u"n", u"2: -7"}})},
      {"an empty key name", Settings({{u"Sub\\\\n", u"n", u"2: -7"}})},
      {"a slash in a key", Settings({{u"Sub/", u"n", u"2: -7"}})},
      {"a control character in a key", Settings({{u"Sub\t", u"n", u"2: -7"}})},
      {"a NUL in a key", Settings({{std::u16string(u"Sub\0", 4), u"n", u"2: -7"}})},
      {"a NUL in a string", Settings({{u"", u"Language", std::u16string(u"3: de\0x", 7)}})},
      {"a slash in a name", Settings({{u"", u"Sub/n", u"2: -7"}})},
      {"a NUL in a name", Settings({{u"", std::u16string(u"CurMonitor\0x", 12), u"2: 1"}})},
      {"a name longer than the loader reads", Settings({{u"", longName, u"2: 1"}})},
      {"no value text", Settings({{u"", u"CurMonitor", u"C:\\Games"}})},
      {"type 4", Settings({{u"", u"CurMonitor", u"4: 1"}})},
      {"no blank", Settings({{u"", u"CurMonitor", u"2:1"}})},
      {"a number not as the save prints it", Settings({{u"", u"CurMonitor", u"2: 01"}})},
      {"more after the number", Settings({{u"", u"CurMonitor", u"2: 1 "}})},
      {"one value twice", Settings({{u"", u"CurMonitor", u"2: 1"}, {u"", u"CurMonitor", u"2: 2"}})},
      // The playlist, exactly as the editor saves it.
      {"a playlist under another name",
       {SaveKind::Playlist, {{u"", u"Playlist2", u"C:\\a.mp3\n"}}}},
      {"a playlist as AppPath", {SaveKind::Playlist, {{u"", u"AppPath", u"C:\\Evil\n"}}}},
      {"a playlist in a subkey", {SaveKind::Playlist, {{u"Sub", u"PlayList", u"C:\\a.mp3\n"}}}},
      {"two playlists",
       {SaveKind::Playlist, {{u"", u"PlayList", u"C:\\a.mp3\n"}, {u"", u"PlayList", u""}}}},
      {"no playlist at all", {SaveKind::Playlist, {}}},
      {"an entry without its line feed", PlaylistRequestFor(u"C:\\a.mp3")},
      {"an empty entry", PlaylistRequestFor(u"C:\\a.mp3\n\n")},
      {"a comment", PlaylistRequestFor(u"#C:\\a.mp3\n")},
      {"a carriage return", PlaylistRequestFor(u"C:\\a.mp3\r\n")},
      {"a line longer than the editor reads",
       PlaylistRequestFor(std::u16string(kMaxPlaylistLine + 1, u'x') + u"\n")},
  };
  const Node held = HeldTree();
  for (const Case& c : accepted) EXPECT_TRUE(IsAcceptableSaveRequest(c.request, held)) << c.what;
  for (const Case& c : refused) {
    EXPECT_FALSE(IsAcceptableSaveRequest(c.request, held)) << c.what;
    // One refused entry refuses the request it is in.
    SaveRequest mixed = c.request;
    if (mixed.kind == SaveKind::Settings)
      mixed.entries.insert(mixed.entries.begin(), {u"", u"DisableMusic", u"2: 1"});
    EXPECT_FALSE(IsAcceptableSaveRequest(mixed, held)) << c.what;
  }
  EXPECT_FALSE(IsAcceptableSaveRequest(Settings({}), held))
      << "no entries: it would only make the key";
}

// The settings table agrees with the defaults: every default is a value the
// dialog may write.
TEST(SaveRequest, EveryDefaultIsInTheSettingsTable) {
  fakes::FakePlatform platform;
  const HardwarePorts hardware{.direct3d9 = platform.direct3d9,
                               .wmi = platform.wmi,
                               .directDraw = platform.directDraw,
                               .displayDevices = platform.displayDevices,
                               .registry = platform.registry,
                               .system = platform.system};
  Node settings;
  SetDefaultSettings(settings, hardware);
  ASSERT_EQ(settings.children.size(), 15u);
  for (const auto& [name, value] : settings.children)
    EXPECT_TRUE(IsSettingValue(name, value.AsInt())) << ToUtf8(name) << " " << value.AsInt();
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
  registry_.PutString(kHkeyLocalMachine, kKey, u"Language", u"3: de");
  registry_.PutString(kHkeyLocalMachine, kKey + u"\\Sub", u"n", u"1: 2.5");
  registry_.PutString(kHkeyLocalMachine, kKey + u"\\Sub", u"", u"3: default");
  Offer(EncodeSaveRequest(Settings({{u"", u"Language", u"3: de"},
                                    {u"", u"MusicVolumePercentage", u"2: 40"},
                                    {u"Sub", u"", u"3: default"},
                                    {u"Sub", u"n", u"1: 2.500000"}})));
  EXPECT_EQ(Run(), kElevatedSaveWritten);
  EXPECT_EQ(Stored(kKey, u"MusicVolumePercentage"), u"2: 40");
  EXPECT_EQ(Stored(kKey, u"Language"), u"3: de");
  EXPECT_EQ(Stored(kKey + u"\\Sub", u"n"), u"1: 2.500000") << "written as the tree reads it";
  EXPECT_EQ(Stored(kKey + u"\\Sub", u""), u"3: default") << "the default value stays in Sub";
  EXPECT_EQ(Stored(kKey, u"AppPath"), u"C:\\Installed");
  EXPECT_EQ(registry_.ValueNames(kHkeyLocalMachine, kKey).size(), 3u);
  EXPECT_FALSE(registry_.HasKey(kHkeyLocalMachine, kKey, fakes::FakeRegistry::View::Redirected32));
}

TEST_F(ElevatedSave, RefusesWithoutTouchingTheRegistry) {
  registry_.PutString(kHkeyLocalMachine, kKey, u"AppPath", u"C:\\Installed");
  registry_.PutString(kHkeyLocalMachine, kKey, u"Language", u"3: de");
  const auto before = registry_.Get(kHkeyLocalMachine, kKey, u"AppPath");
  EXPECT_EQ(Run(), kElevatedSaveNoRequest);

  std::vector<std::uint8_t> truncated = EncodeSaveRequest(
      Settings({{u"", u"MusicVolumePercentage", u"2: 40"}, {u"", u"DisableMusic", u"2: 1"}}));
  truncated.resize(truncated.size() - 2);
  std::u16string deep = u"K";
  for (int depth = 1; depth < 600; ++depth) deep += u"\\K";
  // A million values, said to follow: refused on the count, before anything is read.
  std::vector<std::uint8_t> million =
      EncodeSaveRequest(Settings({{u"", u"MusicVolumePercentage", u"2: 40"}}));
  million[16] = 0x40, million[17] = 0x42, million[18] = 0x0F;
  const std::vector<std::uint8_t> hostile[] = {
      truncated,
      million,
      EncodeSaveRequest(
          Settings({{u"", u"MusicVolumePercentage", u"2: 40"}, {u"", u"APPPATH", u"3: C:\\Evil"}})),
      EncodeSaveRequest(Settings({{u"AppPath", u"", u"3: C:\\Evil"}})),
      EncodeSaveRequest(Settings({{deep, u"V", u"2: 1"}})),
      EncodeSaveRequest(Settings({{u"", u"Language", u"3: ru"}})),
      EncodeSaveRequest(Settings({{u"", u"MusicVolumePercentage", u"2: 500"}})),
  };
  for (const auto& bytes : hostile) {
    const OsHandle mapping = Offer(bytes);
    EXPECT_EQ(Run(), kElevatedSaveRefused);
    processes_.CloseHandle(mapping);
  }
  EXPECT_EQ(registry_.ValueNames(kHkeyLocalMachine, kKey),
            (std::vector<std::u16string>{u"AppPath", u"Language"}));
  EXPECT_EQ(registry_.Get(kHkeyLocalMachine, kKey, u"AppPath")->data, before->data);
  EXPECT_EQ(Stored(kKey, u"Language"), u"3: de");
  EXPECT_FALSE(registry_.HasKey(kHkeyLocalMachine, kKey + u"\\AppPath"));
  EXPECT_FALSE(registry_.HasKey(kHkeyLocalMachine, kKey + u"\\K"));
  for (const auto& access : registry_.AccessLog()) EXPECT_NE(access.operation, "CreateKey");

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
