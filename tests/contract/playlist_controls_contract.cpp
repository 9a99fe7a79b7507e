#include "contract/playlist_controls_contract.h"

#include "playlist/file_dialog.h"

namespace glimmer::contract {
namespace {

using Texts = std::vector<std::u16string>;

std::vector<bool> SelectionOf(PlaylistControls& controls) {
  std::vector<bool> selected;
  for (int i = 0; i < controls.GetItemCount(); ++i) {
    std::uint32_t state = 0xFFFF0000u;
    EXPECT_TRUE(controls.GetItemState(i, kLvisSelected, state)) << "item " << i;
    EXPECT_EQ(state & ~kLvisSelected, 0u) << "only the asked-for bits, item " << i;
    selected.push_back((state & kLvisSelected) != 0);
  }
  return selected;
}

TEST_P(PlaylistControlsContract, ItemsGoWhereInsertedAndDeletingMovesTheRestUp) {
  PlaylistControls& list = Controls();
  EXPECT_EQ(list.GetItemCount(), 0);
  EXPECT_EQ(list.InsertItem(0, u"b"), 0);
  EXPECT_EQ(list.InsertItem(0, u"a"), 0);
  EXPECT_EQ(list.InsertItem(99, u"d"), 2) << "an index past the end appends";
  EXPECT_EQ(list.InsertItem(2, u"c"), 2);
  EXPECT_EQ(list.InsertItem(4, u"C:\\M\u00FCsik\\\u041F\u0435\u0441\u043D\u044F.mp3"), 4);
  EXPECT_EQ(Window().ItemTexts(),
            (Texts{u"a", u"b", u"c", u"d", u"C:\\M\u00FCsik\\\u041F\u0435\u0441\u043D\u044F.mp3"}));
  EXPECT_EQ(list.GetItemCount(), 5);

  EXPECT_TRUE(list.DeleteItem(1));
  EXPECT_TRUE(list.DeleteItem(3));
  EXPECT_FALSE(list.DeleteItem(3)) << "past the end";
  EXPECT_FALSE(list.DeleteItem(-1));
  EXPECT_EQ(Window().ItemTexts(), (Texts{u"a", u"c", u"d"}));
  EXPECT_EQ(list.GetItemCount(), 3);
}

TEST_P(PlaylistControlsContract, SelectionStaysWithItsItem) {
  PlaylistControls& list = Controls();
  for (int i = 0; i < 6; ++i)
    list.InsertItem(i, std::u16string(1, static_cast<char16_t>(u'1' + i)));
  EXPECT_EQ(list.GetSelectedCount(), 0) << "new items are not selected";
  EXPECT_EQ(SelectionOf(list), (std::vector<bool>{false, false, false, false, false, false}));

  for (int index : {1, 2, 4}) Window().Select(index, true);
  EXPECT_EQ(list.GetSelectedCount(), 3);
  EXPECT_EQ(SelectionOf(list), (std::vector<bool>{false, true, true, false, true, false}));

  ASSERT_TRUE(list.DeleteItem(1));
  EXPECT_EQ(list.GetSelectedCount(), 2);
  EXPECT_EQ(SelectionOf(list), (std::vector<bool>{false, true, false, true, false}));
  EXPECT_EQ(Window().ItemTexts(), (Texts{u"1", u"3", u"4", u"5", u"6"}));

  Window().Select(3, false);
  EXPECT_EQ(list.GetSelectedCount(), 1);

  std::uint32_t state = 0x1234;
  EXPECT_FALSE(list.GetItemState(5, kLvisSelected, state)) << "past the end";
  EXPECT_FALSE(list.GetItemState(-1, kLvisSelected, state));
}

TEST_P(PlaylistControlsContract, OkIsToldOfTheShield) {
  EXPECT_FALSE(Window().OkShielded());
  Controls().SetOkShield(true);
  EXPECT_TRUE(Window().OkShielded());
  Controls().SetOkShield(false);
  EXPECT_FALSE(Window().OkShielded());
}

TEST_P(PlaylistControlsContract, TheCheckBoxKeepsWhatWasSet) {
  PlaylistControls& box = Controls();
  EXPECT_EQ(box.GetCheck(), 0);
  for (int state : {1, 0, 1}) {
    box.SetCheck(state);
    EXPECT_EQ(box.GetCheck(), state);
  }
}

TEST_P(PlaylistControlsContract, StringWidthsGrowWithTheTextAndTheColumnIsFirst) {
  PlaylistControls& list = Controls();
  const std::u16string header = u"FileName" + std::u16string(98, u' ');
  const int name = list.GetStringWidth(u"FileName");
  const int wide = list.GetStringWidth(header);
  EXPECT_EQ(list.GetStringWidth(u""), 0);
  EXPECT_GT(name, 0);
  EXPECT_GT(wide, name);
  EXPECT_EQ(list.InsertColumn(0, header, wide + 15), 0);
}

TEST_P(PlaylistControlsContract, TheFileDialogAnswersInItsResultFormat) {
  const std::u16string folder = Window().MusicFolder(false);
  const std::u16string root = Window().MusicFolder(true);
  ASSERT_NE(folder.back(), u'\\');
  ASSERT_EQ(root.back(), u'\\');
  struct Case {
    const char* what;
    std::u16string folder;
    std::vector<std::u16string> names;
    std::u16string expected;
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {"one file: its full path", folder, {u"b.mp3"}, folder + u"\\b.mp3\0\0"s},
      {"several: folder and names", folder, {u"a.mp3", u"c.mp3"}, folder + u"\0a.mp3\0c.mp3\0\0"s},
      {"several in a root folder",
       root,
       {u"a.mp3", u"b.mp3", u"c.mp3"},
       root + u"\0a.mp3\0b.mp3\0c.mp3\0\0"s},
  };
  for (const Case& c : cases) {
    Window().AnswerFileDialog(c.folder, c.names);
    std::u16string buffer(kOpenFileBufferLength, u'\0');
    ASSERT_TRUE(Controls().GetOpenFileName(JoinFilterList(BuildFilterList(TextCatalog())),
                                           kAddFilesFlags, buffer))
        << c.what;
    EXPECT_EQ(buffer.substr(0, c.expected.size()), c.expected) << c.what;
  }
}

TEST_P(PlaylistControlsContract, ACancelledFileDialogFailsWithoutACode) {
  Window().AnswerFileDialog(Window().MusicFolder(false), {});
  std::u16string buffer(kOpenFileBufferLength, u'\0');
  EXPECT_FALSE(Controls().GetOpenFileName(JoinFilterList(BuildFilterList(TextCatalog())),
                                          kAddFilesFlags, buffer));
  EXPECT_EQ(Controls().CommDlgExtendedError(), 0u);
  EXPECT_EQ(buffer, std::u16string(kOpenFileBufferLength, u'\0'));
}

TEST_P(PlaylistControlsContract, ASelectionThatDoesNotFitFails) {
  if (!Window().ChecksResultBufferSize()) GTEST_SKIP() << "this platform does not check the size";
  const std::u16string folder = Window().MusicFolder(false);
  Window().AnswerFileDialog(folder, {u"a.mp3", u"b.mp3", u"c.mp3"});
  // Room beyond the size given, so that a dialog writing too far cannot spoil the heap.
  std::u16string small(folder.size() + 8, u'\0');
  small.reserve(small.size() + 256);
  EXPECT_FALSE(Controls().GetOpenFileName(JoinFilterList(BuildFilterList(TextCatalog())),
                                          kAddFilesFlags, small));
  EXPECT_EQ(Controls().CommDlgExtendedError(), kFnErrBufferTooSmall);
}

}  // namespace
}  // namespace glimmer::contract
