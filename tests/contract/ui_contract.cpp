#include "contract/ui_contract.h"

#include "platform/text.h"

namespace glimmer::contract {
namespace {

// The product's error boxes: OK alone, the error icon, a translated caption
// and text that may hold any character, with or without an owner.
TEST_P(UiContract, AnErrorBoxShowsItsTextsToItsOwnerAndAnswersOk) {
  const WindowHandle owner = World().MakeOwner();
  struct Case {
    WindowHandle owner;
    std::u16string caption;
    std::u16string text;
  };
  const Case cases[] = {
      {0, u"Error!", u"Can't find the main file! Please reinstall screensaver."},
      {owner, u"\u041e\u0448\u0438\u0431\u043a\u0430!",
       u"Erreur d\u2019\u00e9criture \U0001F600 dans le registre."},
      {owner, u"", u""},
  };
  for (const Case& c : cases) {
    World().PressOkOnNextBox();
    EXPECT_EQ(kIdOk, Port().MessageBox(c.owner, c.text, c.caption, kMbOk | kMbIconError));
  }

  const std::vector<ShownBox> shown = World().Shown();
  ASSERT_EQ(std::size(cases), shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cases[i].owner, shown[i].owner);
    EXPECT_EQ(ToUtf8(cases[i].caption), ToUtf8(shown[i].caption));
    EXPECT_EQ(ToUtf8(cases[i].text), ToUtf8(shown[i].text));
  }
}

// The wait cursor stays until the one it replaced is set again; a wait
// within a wait gives back the wait cursor, so each restores its own.
TEST_P(UiContract, TheWaitCursorStaysUntilTheOneItReplacedComesBack) {
  const CursorHandle before = World().CurrentCursor();
  const CursorHandle replaced = Port().ShowWaitCursor();
  EXPECT_EQ(replaced, before);
  const CursorHandle wait = World().CurrentCursor();
  EXPECT_NE(wait, 0u);
  EXPECT_NE(wait, before);
  EXPECT_EQ(Port().ShowWaitCursor(), wait);
  Port().SetCursor(wait);
  EXPECT_EQ(World().CurrentCursor(), wait);
  Port().SetCursor(replaced);
  EXPECT_EQ(World().CurrentCursor(), before);
}

}  // namespace
}  // namespace glimmer::contract
