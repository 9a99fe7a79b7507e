#include "contract/window_port_contract.h"

#include <algorithm>
#include <set>

namespace glimmer::contract {
namespace {

using Handles = std::vector<WindowHandle>;

// The walk as the visitor sees it, keeping only the windows in `ours`: the
// real desktop holds other programs' windows too.
Handles Ours(const Handles& walked, const Handles& ours) {
  Handles kept;
  for (WindowHandle window : walked) {
    if (std::find(ours.begin(), ours.end(), window) != ours.end()) kept.push_back(window);
  }
  return kept;
}

Handles ChildWalk(WindowPort& port, WindowHandle parent, WindowHandle stopAt = 0) {
  Handles walked;
  port.EnumChildWindows(parent, [&](WindowHandle window) {
    walked.push_back(window);
    return window != stopAt;
  });
  return walked;
}

std::vector<ReceivedMessage> OfMessage(const std::vector<ReceivedMessage>& received,
                                       std::uint32_t message) {
  std::vector<ReceivedMessage> kept;
  std::copy_if(received.begin(), received.end(), std::back_inserter(kept),
               [&](const ReceivedMessage& one) { return one.message == message; });
  return kept;
}

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
  for (const WindowHandle dead : {Tree().DeadHandle(), WindowHandle{0}}) {
    SCOPED_TRACE(dead);
    EXPECT_EQ(Port().GetWindowText(dead, 1023), u"");
    EXPECT_FALSE(Port().SetWindowText(dead, u"Text"));
    EXPECT_EQ(Port().GetClassName(dead, 257), u"");
    EXPECT_EQ(Port().GetParent(dead), 0u);
    EXPECT_FALSE(Port().IsWindow(dead));
  }
  const WindowHandle dead = Tree().DeadHandle();
  EXPECT_EQ(Port().GetTopWindow(dead), 0u);
  EXPECT_EQ(Port().GetNextWindow(dead), 0u);
  EXPECT_EQ(ChildWalk(Port(), dead), Handles{});
}

TEST_P(WindowPortContract, NewTopLevelWindowsComeFirstInTheWalk) {
  const WindowHandle first = Tree().CreateOfClass(0, u"Walk Probe");
  const WindowHandle second = Tree().CreateOfClass(0, u"Walk Probe");
  const WindowHandle third = Tree().CreateOfClass(0, u"Walk Probe");
  const WindowHandle child = Tree().CreateChild(second, u"Not top-level");
  Handles walked;
  EXPECT_TRUE(Port().EnumWindows([&](WindowHandle window) {
    walked.push_back(window);
    return true;
  }));
  EXPECT_EQ(Ours(walked, {first, second, third, child}), (Handles{third, second, first}));
}

TEST_P(WindowPortContract, TopLevelWalkStopsWhenTheVisitorSaysSo) {
  const WindowHandle last = Tree().CreateOfClass(0, u"Walk Probe");
  const WindowHandle stop = Tree().CreateOfClass(0, u"Walk Probe");
  const WindowHandle first = Tree().CreateOfClass(0, u"Walk Probe");
  Handles walked;
  EXPECT_FALSE(Port().EnumWindows([&](WindowHandle window) {
    walked.push_back(window);
    return window != stop;
  }));
  ASSERT_FALSE(walked.empty());
  EXPECT_EQ(walked.back(), stop) << "nothing is visited after the visitor stopped";
  EXPECT_EQ(Ours(walked, {first, stop, last}), (Handles{first, stop}));
}

TEST_P(WindowPortContract, ChildWalkGoesDepthFirstInZOrder) {
  const WindowHandle top = Tree().CreateOfClass(0, u"Walk Probe");
  const WindowHandle a = Tree().CreateChild(top, u"a");
  const WindowHandle a1 = Tree().CreateChild(a, u"a1");
  const WindowHandle a1x = Tree().CreateChild(a1, u"a1x");
  const WindowHandle a2 = Tree().CreateChild(a, u"a2");
  const WindowHandle b = Tree().CreateChild(top, u"b");
  const WindowHandle b1 = Tree().CreateChild(b, u"b1");
  const WindowHandle c = Tree().CreateChild(top, u"c");

  EXPECT_EQ(ChildWalk(Port(), top), (Handles{a, a1, a1x, a2, b, b1, c}));
  EXPECT_EQ(ChildWalk(Port(), a), (Handles{a1, a1x, a2})) << "the start window is not visited";
  EXPECT_EQ(ChildWalk(Port(), c), Handles{});

  // Stopping deep inside ends the whole walk, not only the current level.
  EXPECT_EQ(ChildWalk(Port(), top, a1x), (Handles{a, a1, a1x}));
  EXPECT_EQ(ChildWalk(Port(), top, b), (Handles{a, a1, a1x, a2, b}));

  Tree().Destroy(a1);
  EXPECT_EQ(ChildWalk(Port(), top), (Handles{a, a2, b, b1, c}));
}

TEST_P(WindowPortContract, ClassNamesComeBackExactlyWithinTheCapacity) {
  const WindowHandle top = Tree().CreateOfClass(0, u"Direct3D Window");
  const WindowHandle child = Tree().CreateOfClass(top, u"MixedCase Probe");
  EXPECT_EQ(Port().GetClassName(top, 257), u"Direct3D Window");
  EXPECT_EQ(Port().GetClassName(child, 257), u"MixedCase Probe");
  EXPECT_EQ(Port().GetClassName(top, 16), u"Direct3D Window");
  EXPECT_EQ(Port().GetClassName(top, 15), u"Direct3D Windo");
  EXPECT_EQ(Port().GetClassName(top, 9), u"Direct3D");
  EXPECT_EQ(Port().GetClassName(top, 1), u"");
  EXPECT_EQ(Port().GetClassName(top, 0), u"");
}

TEST_P(WindowPortContract, ParentsAndLifetimes) {
  const WindowHandle top = Tree().CreateOfClass(0, u"Walk Probe");
  const WindowHandle child = Tree().CreateOfClass(top, u"Walk Probe");
  const WindowHandle grandchild = Tree().CreateOfClass(child, u"Walk Probe");
  const WindowHandle other = Tree().CreateOfClass(0, u"Walk Probe");
  EXPECT_EQ(Port().GetParent(top), 0u);
  EXPECT_EQ(Port().GetParent(child), top);
  EXPECT_EQ(Port().GetParent(grandchild), child);
  for (WindowHandle window : {top, child, grandchild, other}) EXPECT_TRUE(Port().IsWindow(window));

  // Destroying a window takes its descendants with it, and nothing else.
  Tree().Destroy(top);
  EXPECT_FALSE(Port().IsWindow(top));
  EXPECT_FALSE(Port().IsWindow(child));
  EXPECT_FALSE(Port().IsWindow(grandchild));
  EXPECT_TRUE(Port().IsWindow(other));
  Handles walked;
  Port().EnumWindows([&](WindowHandle window) {
    walked.push_back(window);
    return true;
  });
  EXPECT_EQ(Ours(walked, {top, other}), Handles{other});
}

TEST_P(WindowPortContract, RegisteredMessagesAreSharedByName) {
  const std::uint32_t message = Port().RegisterWindowMessage(u"ChangeWallpaperSettingsGlimmerdale");
  EXPECT_GE(message, 0xC000u);
  EXPECT_LE(message, 0xFFFFu);
  EXPECT_EQ(Port().RegisterWindowMessage(u"ChangeWallpaperSettingsGlimmerdale"), message);
  EXPECT_EQ(Port().RegisterWindowMessage(u"changewallpapersettingsglimmerdale"), message)
      << "names are compared without case";

  const std::uint32_t other = Port().RegisterWindowMessage(u"GlimmerdaleContractProbe");
  EXPECT_GE(other, 0xC000u);
  EXPECT_LE(other, 0xFFFFu);
  EXPECT_NE(other, message);

  EXPECT_EQ(Port().RegisterWindowMessage(u""), 0u);
  EXPECT_NE(Port().RegisterWindowMessage(std::u16string(255, u'n')), 0u);
  EXPECT_EQ(Port().RegisterWindowMessage(std::u16string(256, u'n')), 0u);
}

TEST_P(WindowPortContract, PostedMessagesArriveInPostingOrder) {
  const std::uint32_t message = Port().RegisterWindowMessage(u"GlimmerdaleContractProbe");
  const WindowHandle window = Tree().CreateOfClass(0, u"Direct3D Window");
  const WindowHandle bystander = Tree().CreateOfClass(0, u"Direct3D Window");
  const std::vector<ReceivedMessage> sent{
      {message, 6, 4}, {message, 1, 40}, {message, 6, -1}, {message, 0, 0}, {message, 1, 100}};
  for (const ReceivedMessage& one : sent) {
    EXPECT_TRUE(Port().PostMessage(window, one.message, one.wParam, one.lParam));
  }
  EXPECT_EQ(OfMessage(Tree().TakeReceived(window), message), sent);
  EXPECT_EQ(OfMessage(Tree().TakeReceived(bystander), message), std::vector<ReceivedMessage>{});
  EXPECT_EQ(OfMessage(Tree().TakeReceived(window), message), std::vector<ReceivedMessage>{})
      << "each message arrives once";
}

TEST_P(WindowPortContract, PostingToNoWindow) {
  const std::uint32_t message = Port().RegisterWindowMessage(u"GlimmerdaleContractProbe");
  EXPECT_FALSE(Port().PostMessage(Tree().DeadHandle(), message, 2, 1));
  // Window 0 is the posting thread's own queue: the post succeeds.
  EXPECT_TRUE(Port().PostMessage(0, message, 3, 7));
  EXPECT_EQ(OfMessage(Tree().TakeReceived(0), message),
            (std::vector<ReceivedMessage>{{message, 3, 7}}));
}

TEST_P(WindowPortContract, ThreadDpiContextGoesToTheWindowsItMakes) {
  const WindowHandle first = Tree().CreateTop(u"First");
  const DpiContext own = Port().GetWindowDpiAwarenessContext(first);
  ASSERT_NE(own, 0u);
  EXPECT_EQ(Port().GetWindowDpiAwarenessContext(Tree().DeadHandle()), 0u);
  EXPECT_EQ(Port().GetWindowDpiAwarenessContext(0), 0u);
  EXPECT_EQ(Port().SetThreadDpiAwarenessContext(0), 0u) << "0 is no context";

  const DpiContext replaced = Port().SetThreadDpiAwarenessContext(kDpiContextUnaware);
  ASSERT_NE(replaced, 0u);
  const WindowHandle unaware = Tree().CreateTop(u"Unaware");
  const WindowHandle child = Tree().CreateChild(first, u"Child");
  EXPECT_NE(Port().SetThreadDpiAwarenessContext(replaced), 0u);
  const DpiContext unawareContext = Port().GetWindowDpiAwarenessContext(unaware);
  EXPECT_NE(unawareContext, own);
  EXPECT_EQ(Port().GetWindowDpiAwarenessContext(child), own) << "a child lives in its parent's";
  EXPECT_EQ(Port().GetWindowDpiAwarenessContext(Tree().CreateTop(u"Restored")), own);

  // A window's context, read back, is one the thread takes.
  EXPECT_NE(Port().SetThreadDpiAwarenessContext(unawareContext), 0u);
  const WindowHandle again = Tree().CreateTop(u"Again");
  EXPECT_NE(Port().SetThreadDpiAwarenessContext(replaced), 0u);
  EXPECT_EQ(Port().GetWindowDpiAwarenessContext(again), unawareContext);
}

}  // namespace
}  // namespace glimmer::contract
