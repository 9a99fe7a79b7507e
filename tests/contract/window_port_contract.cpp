#include "contract/window_port_contract.h"

namespace glimmer::contract {
namespace {

TEST_P(WindowPortContract, TextRoundTripsExactly) {
  const WindowHandle window = Tree().CreateTop(u"Start");
  // Cyrillic, and a character outside the BMP (a surrogate pair).
  const std::u16string text = u"\u041e\u0442\u043c\u0435\u043d\u0430 \U0001F600 end";
  ASSERT_TRUE(Port().SetWindowText(window, text));
  EXPECT_EQ(Port().GetWindowText(window, 1023), text);
  ASSERT_TRUE(Port().SetWindowText(window, u""));
  EXPECT_EQ(Port().GetWindowText(window, 1023), u"");
}

TEST_P(WindowPortContract, CapacityCountsTheTerminator) {
  const WindowHandle window = Tree().CreateTop(u"Hello world");
  EXPECT_EQ(Port().GetWindowText(window, 6), u"Hello");
  EXPECT_EQ(Port().GetWindowText(window, 12), u"Hello world");
  EXPECT_EQ(Port().GetWindowText(window, 1), u"");
}

TEST_P(WindowPortContract, ChildrenComeInCreationOrderAndOnlyOneLevelDeep) {
  const WindowHandle parent = Tree().CreateTop(u"Parent");
  const WindowHandle first = Tree().CreateChild(parent, u"First");
  const WindowHandle second = Tree().CreateChild(parent, u"Second");
  Tree().CreateChild(first, u"Nested");
  const WindowHandle third = Tree().CreateChild(parent, u"Third");

  EXPECT_EQ(Port().GetTopWindow(parent), first);
  EXPECT_EQ(Port().GetNextWindow(first), second);
  EXPECT_EQ(Port().GetNextWindow(second), third);
  EXPECT_EQ(Port().GetNextWindow(third), 0u);
  EXPECT_EQ(Port().GetTopWindow(third), 0u);
}

TEST_P(WindowPortContract, DeadHandleBehavesAsAbsent) {
  const WindowHandle dead = Tree().DeadHandle();
  EXPECT_EQ(Port().GetWindowText(dead, 1023), u"");
  EXPECT_FALSE(Port().SetWindowText(dead, u"Text"));
  EXPECT_EQ(Port().GetTopWindow(dead), 0u);
  EXPECT_EQ(Port().GetNextWindow(dead), 0u);
}

}  // namespace
}  // namespace glimmer::contract
