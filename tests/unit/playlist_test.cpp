// The playlist editor against the fakes: the saved text, M3U files in their
// encodings, the file-open dialog's answers, removing, shuffling and saving.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "catalog_test_support.h"
#include "elevation/elevated_save.h"
#include "fakes/fake_elevation.h"
#include "fakes/fake_files.h"
#include "fakes/fake_playlist_controls.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "fakes/fake_windows.h"
#include "i18n/language.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "playlist/file_dialog.h"
#include "playlist/playlist_dialog.h"
#include "playlist/playlist_text.h"
#include "resource_ids.h"

namespace glimmer::tests {
namespace {

using namespace std::string_literals;
using Paths = std::vector<std::u16string>;

const std::u16string kKey(kSettingsKey);
// "Музыка" (music) in UTF-8 and in Windows-1251.
const std::string kMusicUtf8 = "\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0";
const std::string kMusic1251 = "\xCC\xF3\xE7\xFB\xEA\xE0";
const std::u16string kMusic = u"\u041C\u0443\u0437\u044B\u043A\u0430";

std::string Printable(const std::u16string& text) { return ToUtf8(text); }

class PlaylistTest : public ::testing::Test {
 protected:
  PlaylistTest() : registry_(/*wow64=*/true) {
    system_.wow64 = true;
    controls_.dialog = windows_.Create(0, u"Playlist");
  }

  void Exist(std::initializer_list<std::u16string> paths) {
    system_.existingPaths.insert(paths.begin(), paths.end());
  }
  void Save(std::u16string_view text) {
    registry_.PutString(kHkeyLocalMachine, kKey, kPlayListValue, text);
  }
  std::optional<std::u16string> Saved() const {
    const auto value = registry_.Get(kHkeyLocalMachine, kKey, kPlayListValue);
    if (!value) return std::nullopt;
    EXPECT_EQ(value->type, kRegSz);
    return TextFromRegistryBytes(value->data.data(), value->data.size());
  }
  // Loads the shipped catalogue in language tag, another block selected.
  void SpeakShippedCatalogue(std::u16string_view tag) {
    resources_.Put(kCatalogResourceId, kRtRcdata, ShippedCatalog());
    catalog_ = TextCatalog::Load(resources_, system_, "", kCatalogResourceId);
    ASSERT_TRUE(catalog_.SelectLanguage(tag));
  }
  bool Send(std::uint32_t message, int id = 0, std::uint32_t code = kBnClicked) {
    std::intptr_t result = -1;
    const DialogMessage sent =
        message == kWmCommand ? DialogMessage::Command(id, code) : DialogMessage{message, 0, 0};
    const bool handled = editor_.ProcessWindowMessage(sent, result);
    if (message == kWmInitDialog) {
      EXPECT_EQ(result, 1) << "the dialog manager sets the focus";
    }
    return handled;
  }
  // The list view and the entries must never part.
  void ExpectList(const Paths& expected) {
    EXPECT_EQ(editor_.PlaylistEntries, expected);
    EXPECT_EQ(controls_.Texts(), expected);
  }

  fakes::FakeRegistry registry_;
  fakes::FakeSystem system_;
  fakes::FakeUi ui_;
  fakes::FakeWindows windows_;
  fakes::FakeResources resources_;
  fakes::FakeFiles files_;
  fakes::FakeProcesses processes_;
  fakes::FakeElevation elevation_{processes_};
  const PlaylistPorts ports_{.registry = registry_,
                             .system = system_,
                             .files = files_,
                             .windows = windows_,
                             .ui = ui_,
                             .elevation = elevation_,
                             .processes = processes_};
  TextCatalog catalog_;
  fakes::FakePlaylistControls controls_;
  Node settings_;
  CPlaylistDlg editor_{settings_, kProductName, controls_, ports_, catalog_};
};

// --- The saved text -----------------------------------------------------

TEST_F(PlaylistTest, TextLinesBecomeEntriesWhenTheyNameSomething) {
  const std::u16string longest = u"C:\\Music\\" + std::u16string(2013, u'x');  // 2,022 in all
  const std::u16string tooLong = u"C:\\Music\\" + std::u16string(2014, u'y');  // 2,023
  Exist({u"C:\\Music\\a.mp3", u"a.mp3", u"D:\\Other\\b.mp3", u"C:\\Musicc.mp3", u"C:\\Music",
         longest, tooLong});
  struct Case {
    const char* what;
    std::u16string base, text;
    Paths expected;
  };
  const Case cases[] = {
      {"each line followed by a line feed",
       u"",
       u"C:\\Music\\a.mp3\nD:\\Other\\b.mp3\n",
       {u"C:\\Music\\a.mp3", u"D:\\Other\\b.mp3"}},
      {"the last line needs no line feed",
       u"",
       u"a.mp3\nD:\\Other\\b.mp3",
       {u"a.mp3", u"D:\\Other\\b.mp3"}},
      {"missing files are dropped",
       u"",
       u"C:\\gone.mp3\nC:\\Music\\a.mp3\n",
       {u"C:\\Music\\a.mp3"}},
      {"comments and empty lines", u"", u"#C:\\Music\\a.mp3\n\n\n#\na.mp3\n", {u"a.mp3"}},
      {"a carriage return stays part of the path", u"", u"C:\\Music\\a.mp3\r\na.mp3\r", {}},
      {"blanks are not trimmed", u"", u" a.mp3\na.mp3 \n\ta.mp3", {}},
      {"a folder counts", u"", u"C:\\Music\n", {u"C:\\Music"}},
      {"the base folder first", u"C:\\Music\\", u"a.mp3\n", {u"C:\\Music\\a.mp3"}},
      {"then the line alone", u"C:\\Music\\", u"D:\\Other\\b.mp3\n", {u"D:\\Other\\b.mp3"}},
      {"no separator is added", u"C:\\Music", u"c.mp3\n", {u"C:\\Musicc.mp3"}},
      {"a NUL names nothing", u"", u"a.mp3\0.ogg\na.mp3"s, {u"a.mp3"}},
      {"2,022 characters are a line", u"", longest + u"\na.mp3", {longest, u"a.mp3"}},
      {"a longer line ends the text",
       u"",
       u"a.mp3\n" + tooLong + u"\nC:\\Music\\a.mp3",
       {u"a.mp3"}},
  };
  for (const Case& c : cases) {
    Paths entries;
    EXPECT_EQ(ParsePlaylistText(system_, c.base, c.text, entries), !c.expected.empty()) << c.what;
    EXPECT_EQ(entries, c.expected) << c.what;
  }
}

TEST_F(PlaylistTest, ParsingAppendsAndReportsTheWholeList) {
  Paths entries = {u"earlier.mp3"};
  EXPECT_TRUE(ParsePlaylistText(system_, u"", u"missing.mp3\n", entries));
  EXPECT_EQ(entries, Paths{u"earlier.mp3"});
  Exist({u"a.mp3"});
  EXPECT_TRUE(editor_.ParsePlaylistText(u"", u"a.mp3\na.mp3\n"));
  EXPECT_EQ(editor_.PlaylistEntries, (Paths{u"a.mp3", u"a.mp3"})) << "no duplicate test";
}

// --- M3U files ----------------------------------------------------------

TEST_F(PlaylistTest, AnM3uFileInItsFolderAddsWhatExists) {
  files_.Put(u"C:\\Music\\list.m3u",
             "#EXTM3U\r\n#EXTINF:123,Artist - Title\r\na.mp3\r\nD:\\Other\\b.mp3\r\n");
  Exist({u"C:\\Music\\a.mp3", u"a.mp3", u"D:\\Other\\b.mp3"});
  for (const std::uint32_t chunk : {0u, 1u, 2u, 3u, 5u}) {
    files_.readChunk = chunk;
    Paths entries;
    LoadPlaylistFile(system_, files_, u"C:\\Music\\list.m3u", entries);
    EXPECT_EQ(entries, (Paths{u"C:\\Music\\a.mp3", u"D:\\Other\\b.mp3"})) << "chunk " << chunk;
    EXPECT_EQ(files_.OpenHandleCount(), 0u) << "the file is closed";
  }
}

TEST_F(PlaylistTest, M3uBytesAreReadAsTextModeReadsThem) {
  Exist({u"C:\\M\\a.mp3", u"C:\\M\\b.mp3", u"C:\\M\\a.mp3\rb.mp3", u"C:\\M\\\u00EF\u00BBa.mp3",
         u"C:\\M\\\u00EF\u00BB\u00BFb.mp3", u"C:\\M\\" + std::u16string(2017, u'x') + u"c.mp3",
         u"C:\\M\\" + std::u16string(2017, u'x') + u"c.mp3x"});
  const std::string longest = std::string(2017, 'x') + "c.mp3";  // 2,022 bytes
  struct Case {
    const char* what;
    std::string bytes;
    Paths expected;
  };
  const Case cases[] = {
      {"CR LF is a line feed", "a.mp3\r\nb.mp3\r\n", {u"C:\\M\\a.mp3", u"C:\\M\\b.mp3"}},
      {"a lone CR stays", "a.mp3\rb.mp3\n", {u"C:\\M\\a.mp3\rb.mp3"}},
      {"a CR at the very end stays", "a.mp3\r", {}},
      {"a byte-order mark is skipped",
       "\xEF\xBB\xBF"
       "a.mp3\nb.mp3",
       {u"C:\\M\\a.mp3", u"C:\\M\\b.mp3"}},
      {"a mark that is not whole is text",
       "\xEF\xBB"
       "a.mp3",
       {u"C:\\M\\\u00EF\u00BBa.mp3"}},
      {"a mark later on is text",
       "a.mp3\n\xEF\xBB\xBF"
       "b.mp3",
       {u"C:\\M\\a.mp3", u"C:\\M\\\u00EF\u00BB\u00BFb.mp3"}},
      {"a comment after the mark", "\xEF\xBB\xBF#EXTM3U\na.mp3", {u"C:\\M\\a.mp3"}},
      {"only the mark", "\xEF\xBB\xBF", {}},
      {"two bytes only", "ab", {}},
      {"2,022 bytes are a line",
       longest + "\r\na.mp3",
       {u"C:\\M\\" + std::u16string(2017, u'x') + u"c.mp3", u"C:\\M\\a.mp3"}},
      {"a longer line ends the file", "a.mp3\n" + longest + "x\nb.mp3", {u"C:\\M\\a.mp3"}},
      {"a NUL spoils the line", "a.mp3\0\nb.mp3"s, {u"C:\\M\\b.mp3"}},
  };
  for (const Case& c : cases) {
    for (const std::uint32_t chunk : {0u, 1u, 2u, 4u}) {
      files_.readChunk = chunk;
      files_.Put(u"C:\\M\\list.m3u", c.bytes);
      Paths entries;
      LoadPlaylistFile(system_, files_, u"C:\\M\\list.m3u", entries);
      EXPECT_EQ(entries, c.expected) << c.what << ", chunk " << chunk;
    }
  }
}

TEST_F(PlaylistTest, ALineThatNamesNothingIsTriedAsUtf8ThenAsAnsi) {
  files_.ansiCodePage = 1251;
  const std::u16string utf8Folder = u"C:\\M\\" + kMusic + u"\\";
  Exist({utf8Folder + u"a.mp3", u"D:\\" + kMusic + u"\\b.mp3", u"C:\\M\\caf\u00E9.mp3",
         u"C:\\M\\\u00E9.mp3", u"C:\\M\\\u0413\u00A9.mp3", u"C:\\M\\\uFFFDt\uFFFD.mp3",
         u"C:\\M\\\u00C3\u00A9.wma", u"C:\\M\\\u00E9.wma", u"C:\\M\\\u0413\u00A9.ogg"});
  struct Case {
    const char* what;
    std::string line;
    Paths expected;
  };
  const Case cases[] = {
      {"ISO 8859-1 when that names a file", "caf\xE9.mp3", {u"C:\\M\\caf\u00E9.mp3"}},
      {"UTF-8 below the base folder", kMusicUtf8 + "\\a.mp3", {utf8Folder + u"a.mp3"}},
      {"UTF-8 as a full path", "D:\\" + kMusicUtf8 + "\\b.mp3", {u"D:\\" + kMusic + u"\\b.mp3"}},
      {"the ANSI code page", kMusic1251 + "\\a.mp3", {utf8Folder + u"a.mp3"}},
      {"ISO 8859-1 wins over UTF-8", "\xC3\xA9.wma", {u"C:\\M\\\u00C3\u00A9.wma"}},
      {"UTF-8 wins over ANSI", "\xC3\xA9.mp3", {u"C:\\M\\\u00E9.mp3"}},
      {"ANSI when UTF-8 names nothing", "\xC3\xA9.ogg", {u"C:\\M\\\u0413\u00A9.ogg"}},
      {"bytes that are not UTF-8 are not decoded so", "\xE9t\xE9.mp3", {}},
      {"a comment in any encoding", "#" + kMusicUtf8 + "\\a.mp3", {}},
  };
  for (const Case& c : cases) {
    files_.Put(u"C:\\M\\list.m3u", "#EXTM3U\r\n" + c.line + "\r\n");
    Paths entries;
    LoadPlaylistFile(system_, files_, u"C:\\M\\list.m3u", entries);
    EXPECT_EQ(entries, c.expected) << c.what;
  }
}

TEST_F(PlaylistTest, AnUnreadableM3uAddsNothing) {
  Exist({u"a.mp3", u"C:\\M\\a.mp3"});
  Paths entries = {u"kept.mp3"};
  LoadPlaylistFile(system_, files_, u"C:\\M\\missing.m3u", entries);
  EXPECT_EQ(entries, Paths{u"kept.mp3"});

  // A read that fails ends the file; the lines before it count.
  files_.Put(u"C:\\M\\broken.m3u", "a.mp3\na.mp3\na.mp3\n");
  files_.readFailsAfter = 8;
  LoadPlaylistFile(system_, files_, u"C:\\M\\broken.m3u", entries);
  EXPECT_EQ(entries, (Paths{u"kept.mp3", u"C:\\M\\a.mp3"}));
  EXPECT_EQ(files_.OpenHandleCount(), 0u);
}

TEST(PlaylistNames, BaseFolderAndM3uTest) {
  struct Case {
    std::u16string_view path, base;
    bool m3u;
  };
  const Case cases[] = {
      {u"C:\\Music\\list.m3u", u"C:\\Music\\", true},
      {u"C:\\Music\\LIST.M3U", u"C:\\Music\\", false},
      {u"C:\\Music\\list.M3u", u"C:\\Music\\", false},
      {u"C:\\Music\\radio.pls", u"C:\\Music\\", false},
      {u"C:\\Music\\list.xm3u", u"C:\\Music\\", true},
      {u"C:\\list.m3u8", u"C:\\", false},
      {u"list.m3u", u"", true},
      {u"m3", u"", false},
      {u"\\\\server\\share\\a.m3u", u"\\\\server\\share\\", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FolderOfPath(c.path), c.base) << ToUtf8(c.path);
    EXPECT_EQ(IsM3uName(c.path), c.m3u) << ToUtf8(c.path);
  }
}

TEST(PlaylistNames, Utf8Validity) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain", true},
      {"\xC3\xA9", true},
      {"\xE2\x82\xAC", true},
      {"\xF0\x9F\x8E\xB5", true},
      {"\xF4\x8F\xBF\xBF", true},
      {"\xC3", false},              // cut short
      {"\xC3(", false},             // not a continuation
      {"\xC0\xAF", false},          // overlong
      {"\xE0\x80\xAF", false},      // overlong
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // above U+10FFFF
      {"\xF5\x80\x80\x80", false},
      {"\x80", false},
      {"\xE9t\xE9", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

// --- Adding -------------------------------------------------------------

TEST_F(PlaylistTest, AddingAFileExpandsOnlyLowerCaseM3u) {
  files_.Put(u"C:\\Music\\list.m3u", "a.mp3\nb.mp3\n");
  files_.Put(u"C:\\Music\\MORE.M3U", "a.mp3\n");
  files_.Put(u"C:\\Music\\radio.pls", "[playlist]\nFile1=a.mp3\n");
  Exist({u"C:\\Music\\a.mp3", u"C:\\Music\\b.mp3"});

  controls_.InsertItem(0, u"C:\\first.mp3");
  editor_.PlaylistEntries.push_back(u"C:\\first.mp3");
  for (const auto path : {u"C:\\Music\\list.m3u", u"C:\\Music\\MORE.M3U", u"C:\\Music\\radio.pls",
                          u"C:\\Music\\gone.mp3", u"C:\\Music\\list.m3u"})
    editor_.AddPlaylistFile(path);
  ExpectList({u"C:\\first.mp3", u"C:\\Music\\a.mp3", u"C:\\Music\\b.mp3", u"C:\\Music\\MORE.M3U",
              u"C:\\Music\\radio.pls", u"C:\\Music\\gone.mp3", u"C:\\Music\\a.mp3",
              u"C:\\Music\\b.mp3"});
}

TEST_F(PlaylistTest, TheFileDialogGetsTheFiltersFlagsAndAZeroedBuffer) {
  SpeakShippedCatalogue(u"de");
  Send(kWmInitDialog);  // selects the dialogs' text block
  ASSERT_TRUE(Send(kWmCommand, IDC_PLAYLIST_ADD));
  ASSERT_EQ(controls_.requests.size(), 1u);
  const auto& request = controls_.requests.front();
  EXPECT_EQ(request.flags, 0x80000u | 0x200u | 0x1000u | 0x800u);
  EXPECT_EQ(request.bufferSize, 65535u);
  EXPECT_TRUE(request.bufferZeroed);
  const std::u16string expected =
      u"Alle unterst\u00FCtzten Dateien (*.m3u,*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid)\0"
      u"*.m3u;*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid\0"
      u"Playliste-Dateien (*.m3u,*.pls)\0*.m3u;*.pls\0"
      u"MP3 (*.mp3)\0*.mp3\0"
      u"Windows Media Audio (*.wma)\0*.wma\0"
      u"Advanced Audio Coding (*.aac)\0*.aac\0"
      u"Ogg Vorbis (*.ogg)\0*.ogg\0"
      u"FLAC (*.flac)\0*.flac\0"
      u"Windows Audio File (*.wav)\0*.wav\0"
      u"MIDI File (*.mid)\0*.mid\0\0"s;
  EXPECT_EQ(request.filter, expected);
  ExpectList({});
}

TEST_F(PlaylistTest, ChosenFilesAreAddedInTheOrderGiven) {
  files_.Put(u"C:\\Music\\list.m3u", "b.mp3\n");
  Exist({u"C:\\Music\\b.mp3"});
  struct Case {
    const char* what;
    std::u16string folder;
    Paths names;
    Paths expected;
  };
  const Case cases[] = {
      {"one file", u"C:\\Music", {u"a.mp3"}, {u"C:\\Music\\a.mp3"}},
      {"one M3U", u"C:\\Music", {u"list.m3u"}, {u"C:\\Music\\b.mp3"}},
      {"several",
       u"C:\\Music",
       {u"c.mp3", u"list.m3u", u"a.mp3"},
       {u"C:\\Music\\c.mp3", u"C:\\Music\\b.mp3", u"C:\\Music\\a.mp3"}},
      {"several in a root folder",
       u"C:\\",
       {u"a.mp3", u"b.mp3", u"c.mp3"},
       {u"C:\\a.mp3", u"C:\\b.mp3", u"C:\\c.mp3"}},
      {"a cancel", u"C:\\Music", {}, {}},
  };
  for (const Case& c : cases) {
    fakes::FakePlaylistControls controls;
    CPlaylistDlg editor(settings_, kProductName, controls, ports_, catalog_);
    controls.choices.push_back({c.folder, c.names});
    editor.Add();
    EXPECT_EQ(editor.PlaylistEntries, c.expected) << c.what;
    EXPECT_EQ(controls.Texts(), c.expected) << c.what;
  }
}

TEST_F(PlaylistTest, ASelectionThatDoesNotFitChangesNothing) {
  controls_.choices.push_back({u"C:\\Music", Paths(7000, u"long-name.mp3")});
  editor_.Add();
  EXPECT_EQ(controls_.CommDlgExtendedError(), kFnErrBufferTooSmall);
  ExpectList({});
}

TEST(PlaylistFileDialog, TheResultBufferGivesPaths) {
  struct Case {
    const char* what;
    std::u16string buffer;
    Paths expected;
  };
  const Case cases[] = {
      {"nothing", u"\0\0\0"s, {}},
      {"one path", u"C:\\Music\\a.mp3\0\0\0"s, {u"C:\\Music\\a.mp3"}},
      {"one path filling the buffer", u"C:\\a.mp3\0"s, {u"C:\\a.mp3"}},
      {"folder and names",
       u"C:\\Music\0a.mp3\0b.mp3\0\0\0"s,
       {u"C:\\Music\\a.mp3", u"C:\\Music\\b.mp3"}},
      {"a folder ending in a backslash", u"C:\\\0a.mp3\0b.mp3\0\0"s, {u"C:\\a.mp3", u"C:\\b.mp3"}},
      {"names up to the buffer's end",
       u"C:\\M\0a.mp3\0b.mp3\0"s,
       {u"C:\\M\\a.mp3", u"C:\\M\\b.mp3"}},
      {"a name cut off by the end", u"C:\\M\0a.mp3\0b.m"s, {u"C:\\M\\a.mp3"}},
      {"a path cut off by the end", u"C:\\Music\\a.m"s, {}},
      {"an empty buffer", u""s, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseOpenFileResult(c.buffer), c.expected) << c.what;
}

// --- Opening ------------------------------------------------------------

TEST_F(PlaylistTest, OpeningShowsTheSavedListFromThe64BitView) {
  Exist({u"C:\\Music\\a.mp3", u"C:\\Music\\b.mp3", u"C:\\Music"});
  Save(u"C:\\Music\\b.mp3\nC:\\Music\\gone.mp3\nC:\\Music\nC:\\Music\\a.mp3\n");
  registry_.PutString(kHkeyLocalMachine, kKey, kPlayListValue, u"C:\\Music\\a.mp3\n",
                      fakes::FakeRegistry::View::Redirected32);
  EXPECT_TRUE(Send(kWmInitDialog));
  ExpectList({u"C:\\Music\\b.mp3", u"C:\\Music", u"C:\\Music\\a.mp3"});

  ASSERT_EQ(controls_.columns.size(), 1u);
  EXPECT_EQ(controls_.columns[0].text, u"FileName" + std::u16string(98, u' '));
  EXPECT_EQ(controls_.columns[0].width, 106 * controls_.pixelsPerCharacter + 15);
  EXPECT_EQ(Saved(), u"C:\\Music\\b.mp3\nC:\\Music\\gone.mp3\nC:\\Music\nC:\\Music\\a.mp3\n")
      << "opening writes nothing";
}

TEST_F(PlaylistTest, AnUnreadableSavedListStartsEmpty) {
  Exist({u"C:\\a.mp3"});
  const std::vector<std::uint8_t> expandable = RegistryBytesFromText(u"C:\\a.mp3\n");
  registry_.Put(kHkeyLocalMachine, kKey, kPlayListValue, kRegExpandSz, expandable);
  Send(kWmInitDialog);
  ExpectList({});
}

TEST_F(PlaylistTest, OpeningTranslatesTheDialogInTheDialogBlock) {
  SpeakShippedCatalogue(u"fr");
  ASSERT_TRUE(catalog_.SelectTextBlock(u"no such block") == false);
  const WindowHandle add = windows_.Create(controls_.dialog, u"Add...");
  const WindowHandle group = windows_.Create(controls_.dialog, u"");
  const WindowHandle shuffle = windows_.Create(controls_.dialog, u"Shuffle");
  Send(kWmInitDialog);
  EXPECT_EQ(windows_.Text(controls_.dialog), u"Liste");
  EXPECT_EQ(windows_.Text(add), u"Ajouter...");
  EXPECT_EQ(windows_.Text(group), u"");
  EXPECT_EQ(windows_.Text(shuffle), u"Ordre al\u00E9atoire");
}

TEST_F(PlaylistTest, TheShuffleBoxShowsOnlyAnIntegerOne) {
  struct Case {
    const char* what;
    std::optional<Node::Value (*)()> value;
    int check;
  };
  const Case cases[] = {
      {"1", [] { return Node::Value(std::int32_t{1}); }, 1},
      {"0", [] { return Node::Value(std::int32_t{0}); }, 0},
      {"a float", [] { return Node::Value(1.0f); }, 0},
      {"a string", [] { return Node::Value(u"1"); }, 0},
      {"missing", std::nullopt, 0},
  };
  for (const Case& c : cases) {
    Node settings;
    if (c.value) settings[keys::kShufflePlayList] = (*c.value)();
    fakes::FakePlaylistControls controls;
    controls.check = 7;
    CPlaylistDlg(settings, kProductName, controls, ports_, catalog_).Initialise();
    EXPECT_EQ(controls.check, c.check) << c.what;
    EXPECT_TRUE(settings.children.count(std::u16string(keys::kShufflePlayList))) << c.what;
  }
}

// --- Commands -----------------------------------------------------------

TEST_F(PlaylistTest, OnlyClicksOfTheEditorsControlsAreHandled) {
  struct Case {
    const char* what;
    std::uint32_t message;
    int id;
    std::uint32_t code;
    bool handled;
    std::optional<int> ended;
  };
  const Case cases[] = {
      {"OK", kWmCommand, kIdOk, kBnClicked, true, kIdOk},
      {"Cancel", kWmCommand, kIdCancel, kBnClicked, true, kIdCancel},
      {"closing", kWmClose, 0, 0, true, kIdCancel},
      {"Add...", kWmCommand, IDC_PLAYLIST_ADD, kBnClicked, true, std::nullopt},
      {"Remove", kWmCommand, IDC_PLAYLIST_REMOVE, kBnClicked, true, std::nullopt},
      {"Shuffle", kWmCommand, IDC_SHUFFLE, kBnClicked, true, std::nullopt},
      {"OK with another code", kWmCommand, kIdOk, 1, false, std::nullopt},
      {"the list view", kWmCommand, IDC_PLAYLIST_LIST, kBnClicked, false, std::nullopt},
      {"another message", kWmDestroy, 0, 0, false, std::nullopt},
  };
  for (const Case& c : cases) {
    controls_.endedWith.reset();
    EXPECT_EQ(Send(c.message, c.id, c.code), c.handled) << c.what;
    EXPECT_EQ(controls_.endedWith, c.ended) << c.what;
  }
  EXPECT_EQ(controls_.requests.size(), 1u) << "Add... opened the file dialog once";
}

TEST_F(PlaylistTest, RemoveDeletesTheSelectedItemsAndKeepsTheOrder) {
  const Paths six = {u"1", u"2", u"3", u"4", u"5", u"6"};
  struct Case {
    std::vector<int> selected;  // 1-based, as the user sees them
    Paths remaining;
  };
  const Case cases[] = {
      {{2, 3, 5}, {u"1", u"4", u"6"}},
      {{}, six},
      {{1, 2, 3, 4, 5, 6}, {}},
      {{1, 6}, {u"2", u"3", u"4", u"5"}},
      {{6}, {u"1", u"2", u"3", u"4", u"5"}},
  };
  for (const Case& c : cases) {
    fakes::FakePlaylistControls controls;
    CPlaylistDlg editor(settings_, kProductName, controls, ports_, catalog_);
    for (const auto& path : six) editor.AddPlaylistFile(path);
    for (int number : c.selected) controls.Select(number - 1);
    editor.Remove();
    EXPECT_EQ(editor.PlaylistEntries, c.remaining) << c.selected.size() << " selected";
    EXPECT_EQ(controls.Texts(), c.remaining) << c.selected.size() << " selected";
  }
}

TEST_F(PlaylistTest, ShuffleGoesIntoTheTreeAtOnceAndOutlivesCancel) {
  for (const int check : {1, 0, 1}) {
    controls_.check = check;
    Send(kWmCommand, IDC_SHUFFLE);
    EXPECT_EQ(settings_[keys::kShufflePlayList].type, ValueType::Int);
    EXPECT_EQ(settings_[keys::kShufflePlayList].AsInt(), check);
  }
  Send(kWmCommand, kIdCancel);
  EXPECT_EQ(settings_[keys::kShufflePlayList].AsInt(), 1);
  EXPECT_FALSE(registry_.Get(kHkeyLocalMachine, kKey, keys::kShufflePlayList)) << "the tree only";
}

// --- Ending -------------------------------------------------------------

TEST_F(PlaylistTest, OkSavesEachEntryWithALineFeed) {
  struct Case {
    Paths entries;
    std::u16string saved;
  };
  const Case cases[] = {
      {{u"C:\\a.mp3", u"C:\\b.mp3", u"C:\\a.mp3"}, u"C:\\a.mp3\nC:\\b.mp3\nC:\\a.mp3\n"},
      {{}, u""},
      {{u"C:\\" + kMusic + u"\\a.mp3"}, u"C:\\" + kMusic + u"\\a.mp3\n"},
  };
  for (const Case& c : cases) {
    Save(u"old\n");
    fakes::FakePlaylistControls controls;
    CPlaylistDlg editor(settings_, kProductName, controls, ports_, catalog_);
    for (const auto& path : c.entries) editor.AddPlaylistFile(path);
    editor.Ok();
    EXPECT_EQ(Saved(), c.saved);
    EXPECT_EQ(registry_.Get(kHkeyLocalMachine, kKey, kPlayListValue)->data.size(),
              2 * c.saved.size())
        << "no terminating NUL";
    EXPECT_EQ(controls.endedWith, kIdOk);
  }
  EXPECT_FALSE(registry_.Get(kHkeyLocalMachine, kKey, kPlayListValue,
                             fakes::FakeRegistry::View::Redirected32))
      << "the 64-bit view only";
  EXPECT_TRUE(ui_.boxes.empty());
}

TEST_F(PlaylistTest, CancelAndClosingSaveNothing) {
  Exist({u"C:\\a.mp3"});
  Save(u"C:\\a.mp3\n");
  for (const std::uint32_t message : {kWmCommand, kWmClose}) {
    Send(kWmInitDialog);
    editor_.AddPlaylistFile(u"C:\\b.mp3");
    Send(message, kIdCancel);
    EXPECT_EQ(controls_.endedWith, kIdCancel);
    EXPECT_EQ(Saved(), u"C:\\a.mp3\n");
  }
}

TEST_F(PlaylistTest, AFailedSaveIsShownInTheUsersLanguageAndTheEditorEnds) {
  SpeakShippedCatalogue(u"de");
  Save(u"C:\\old.mp3\n");
  Send(kWmInitDialog);
  registry_.Deny(kHkeyLocalMachine, kKey, kKeySetValue);
  editor_.AddPlaylistFile(u"C:\\new.mp3");
  Send(kWmCommand, kIdOk);

  ASSERT_EQ(ui_.boxes.size(), 1u);
  EXPECT_EQ(ui_.boxes[0].owner, controls_.dialog);
  EXPECT_EQ(Printable(ui_.boxes[0].caption), "Fehler!");
  EXPECT_TRUE(ui_.boxes[0].text.starts_with(u"Fehler beim Eintrag in die Registry."))
      << Printable(ui_.boxes[0].text);
  EXPECT_EQ(ui_.boxes[0].style, kMbOk | kMbIconError);
  EXPECT_EQ(controls_.endedWith, kIdOk);
  EXPECT_EQ(Saved(), u"C:\\old.mp3\n");
}

// A standard user's OK: the shield on OK, the elevated instance started once
// for "PlayList" alone, and the error box when it does not write.
TEST_F(PlaylistTest, AStandardUsersOkGoesThroughTheElevatedInstance) {
  Exist({u"C:\\a.mp3"});
  registry_.Deny(kHkeyLocalMachine, kKey, kKeySetValue);
  for (const bool declined : {true, false}) {
    SCOPED_TRACE(declined ? "declined" : "accepted");
    elevation_.starts.clear();
    ui_.boxes.clear();
    elevation_.runAsResult = declined ? kErrorCancelled : kErrorSuccess;
    elevation_.elevated = [this](const fakes::FakeElevation::RunAs& run) -> std::uint32_t {
      const auto token = ElevatedSaveToken(u"\"" + run.file + u"\" " + run.parameters);
      registry_.administrator = true;
      const int code = RunElevatedSave(token.value_or(u""), elevation_, registry_, system_);
      registry_.administrator = false;
      return static_cast<std::uint32_t>(code);
    };
    fakes::FakePlaylistControls controls;
    CPlaylistDlg editor(settings_, kProductName, controls, ports_, catalog_);
    editor.Initialise();
    EXPECT_TRUE(controls.okShield);
    editor.AddPlaylistFile(u"C:\\a.mp3");
    editor.Ok();
    ASSERT_EQ(elevation_.starts.size(), 1u);
    EXPECT_EQ(Saved(), declined ? std::nullopt : std::optional<std::u16string>(u"C:\\a.mp3\n"));
    EXPECT_EQ(ui_.boxes.size(), declined ? 1u : 0u);
    EXPECT_EQ(controls.endedWith, kIdOk);
    EXPECT_EQ(registry_.ValueNames(kHkeyLocalMachine, kKey).size(), declined ? 0u : 1u)
        << "the playlist alone";
  }
}

TEST(PlaylistKey, TheProductNameIsTheLastComponent) {
  EXPECT_EQ(PlaylistKeyFor(kProductName), kSettingsKey);
  EXPECT_EQ(PlaylistKeyFor(u"Other Saver"), u"Software\\Vellumark\\Other Saver");
}

}  // namespace
}  // namespace glimmer::tests
