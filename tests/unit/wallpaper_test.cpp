#include "settings/wallpaper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "fakes/fake_windows.h"

namespace glimmer {
namespace {

// A window to place on the fake desktop; `tag` names the ones a test expects.
struct Win {
  std::u16string className;
  std::vector<Win> children = {};
  std::string tag = {};
};

Win D3d(std::string tag, std::vector<Win> children = {}) {
  return Win{u"Direct3D Window", std::move(children), std::move(tag)};
}
Win Other() { return Win{u"Shell_TrayWnd", {Win{u"Button"}}}; }
// The desktop's icon list, as the shell lays it out.
Win IconList() { return Win{u"SHELLDLL_DefView", {Win{u"SysListView32"}}}; }
Win ShellDesktop() { return Win{u"Progman", {IconList()}}; }

class Wallpaper : public testing::Test {
 protected:
  // Places the windows so that a walk meets them in the order given.
  void Desktop(const std::vector<Win>& tops) {
    // A new top-level window goes to the top of the Z order.
    for (auto top = tops.rbegin(); top != tops.rend(); ++top) Place(0, *top);
  }
  WindowHandle Place(WindowHandle parent, const Win& window) {
    const WindowHandle handle = windows_.Create(parent, u"", window.className);
    if (!window.tag.empty()) tagged_[window.tag] = handle;
    for (const Win& child : window.children) Place(handle, child);
    return handle;
  }
  void Reset() {
    windows_ = fakes::FakeWindows();
    tagged_.clear();
  }
  std::string Found() {
    const WindowHandle found = FindWallpaperWindow(windows_);
    if (found == 0) return "none";
    for (const auto& [tag, handle] : tagged_) {
      if (handle == found) return tag;
    }
    return "an untagged window";
  }
  WindowHandle Tagged(const std::string& tag) { return tagged_.at(tag); }
  std::uint32_t WallpaperMessage() {
    return windows_.RegisterWindowMessage(u"ChangeWallpaperSettingsGlimmerdale");
  }

  fakes::FakeWindows windows_;
  std::map<std::string, WindowHandle> tagged_;
};

struct WalkCase {
  const char* name;
  std::vector<Win> desktop;  // in walking order
  std::string expected;
};

TEST_F(Wallpaper, WalkRules) {
  const std::vector<WalkCase> cases = {
      {"empty desktop", {}, "none"},
      {"no wallpaper anywhere", {Other(), ShellDesktop(), Other()}, "none"},
      {"only a wallpaper", {D3d("w")}, "w"},
      {"before the icon list wins over after",
       {D3d("before"), ShellDesktop(), D3d("after")},
       "before"},
      {"last before the icon list", {D3d("1"), Other(), D3d("2"), ShellDesktop(), D3d("3")}, "2"},
      {"first after the icon list", {Other(), ShellDesktop(), D3d("1"), Other(), D3d("2")}, "1"},
      {"first of two in a row after the icon list", {ShellDesktop(), D3d("1"), D3d("2")}, "1"},
      {"without an icon list the last one", {D3d("1"), Other(), D3d("2"), Other()}, "2"},
      {"a descendant at any depth",
       {Win{u"Host", {Win{u"Frame", {Win{u"Pane", {D3d("deep")}}}}}}, ShellDesktop(), D3d("top")},
       "deep"},
      {"several in one window, before the list",
       {Win{u"Host", {D3d("a"), D3d("b")}}, ShellDesktop(), D3d("c")},
       "b"},
      {"beside the list, before it",
       {Win{u"Progman", {D3d("inner"), IconList()}}, D3d("top")},
       "inner"},
      {"beside the list, after it",
       {Win{u"Progman", {IconList(), D3d("inner1"), D3d("inner2")}}, D3d("top")},
       "inner1"},
      {"under the list view itself",
       {Win{u"Progman", {Win{u"SHELLDLL_DefView", {Win{u"SysListView32", {D3d("x")}}}}}},
        D3d("top")},
       "x"},
      {"a list found after a wallpaper stops the walk in that window",
       {D3d("1"), Win{u"Progman", {IconList(), D3d("skipped")}}},
       "1"},
      // A top-level wallpaper window is not searched inside.
      {"an icon list inside a top-level wallpaper does not count",
       {D3d("outer", {IconList()}), D3d("later")},
       "later"},
      {"a top-level wallpaper's own children are not looked at",
       {D3d("outer", {D3d("inner")})},
       "outer"},
      {"the icon view window may be top-level", {D3d("1"), IconList(), D3d("2")}, "1"},
  };
  for (const WalkCase& walk : cases) {
    SCOPED_TRACE(walk.name);
    Reset();
    Desktop(walk.desktop);
    EXPECT_EQ(Found(), walk.expected);
  }
}

// Only the exact class names count: a near miss is just another window.
TEST_F(Wallpaper, ClassNamesMatchExactly) {
  const std::vector<std::u16string> notWallpapers = {
      u"direct3d window", u"DIRECT3D WINDOW",  u"Direct3D Window ", u"Direct3D Window2",
      u"Direct3D",        u" Direct3D Window", u"Direct3DWindow"};
  for (const std::u16string& className : notWallpapers) {
    Reset();
    // Were the near miss taken for a wallpaper, it would be the last one.
    Desktop({D3d("real"), Win{className}, Win{u"Host", {Win{className}}}});
    EXPECT_EQ(Found(), "real") << std::string(className.begin(), className.end());
  }

  // Not icon lists: a near miss means no list, so the last wallpaper wins.
  const std::vector<Win> notIconLists = {
      Win{u"Progman", {Win{u"shelldll_defview", {Win{u"SysListView32"}}}}},
      Win{u"Progman", {Win{u"SHELLDLL_DefView", {Win{u"syslistview32"}}}}},
      Win{u"Progman", {Win{u"SHELLDLL_DefView2", {Win{u"SysListView32"}}}}},
      Win{u"Progman", {Win{u"SHELLDLL_DefView", {Win{u"SysListView32 "}}}}},
      // The list view must be the view's own child, not a grandchild.
      Win{u"Progman", {Win{u"SHELLDLL_DefView", {Win{u"Frame", {Win{u"SysListView32"}}}}}}},
      // A list view beside the view window, not under it.
      Win{u"Progman", {Win{u"SHELLDLL_DefView"}, Win{u"SysListView32"}}},
      // A top-level list view has no parent.
      Win{u"SysListView32"},
  };
  for (std::size_t i = 0; i < notIconLists.size(); ++i) {
    SCOPED_TRACE(i);
    Reset();
    Desktop({D3d("1"), notIconLists[i], D3d("2")});
    EXPECT_EQ(Found(), "2");
  }
}

TEST_F(Wallpaper, OpenRegistersTheMessageAndFindsTheWallpaper) {
  Desktop({D3d("before"), ShellDesktop(), D3d("after")});
  WallpaperChannel channel(windows_);
  channel.Open();
  EXPECT_NE(channel.Message(), 0u);
  EXPECT_EQ(channel.Message(), WallpaperMessage());
  EXPECT_EQ(channel.Window(), Tagged("before"));
  EXPECT_TRUE(windows_.Posted().empty()) << "opening posts nothing";
}

TEST_F(Wallpaper, PostsEveryChangeInOrder) {
  Desktop({Other(), D3d("w")});
  WallpaperChannel channel(windows_);
  channel.Open();
  const std::vector<std::pair<std::uint32_t, std::int32_t>> changes = {
      {6, 4}, {1, 100}, {2, 1}, {3, 55}, {4, 0}, {0, 0}, {5, 0}, {6, -1}, {1, 40}};
  std::vector<fakes::PostedMessage> expected;
  for (const auto& [code, value] : changes) {
    channel.Post(code, value);
    expected.push_back({Tagged("w"), WallpaperMessage(), code, value});
  }
  EXPECT_EQ(windows_.Posted(), expected);
}

TEST_F(Wallpaper, NothingIsPostedWithoutAWallpaper) {
  Desktop({Other(), ShellDesktop()});
  WallpaperChannel channel(windows_);
  channel.Open();
  EXPECT_EQ(channel.Window(), 0u);
  for (std::uint32_t code = 0; code <= 6; ++code) channel.Post(code, 1);
  EXPECT_TRUE(windows_.Posted().empty()) << "not even to the thread's own queue";
}

TEST_F(Wallpaper, AStaleWindowIsReplacedBeforeThePost) {
  Desktop({ShellDesktop(), D3d("first")});
  WallpaperChannel channel(windows_);
  channel.Open();
  ASSERT_EQ(channel.Window(), Tagged("first"));

  // The wallpaper restarts: the old window goes, a new one comes.
  windows_.Destroy(Tagged("first"));
  const WindowHandle restarted = windows_.Create(0, u"", u"Direct3D Window");
  channel.Post(1, 40);
  EXPECT_EQ(channel.Window(), restarted);
  EXPECT_EQ(windows_.Posted(),
            (std::vector<fakes::PostedMessage>{{restarted, channel.Message(), 1, 40}}));

  // It closes for good: the next posts go nowhere.
  windows_.Destroy(restarted);
  channel.Post(2, 0);
  EXPECT_EQ(channel.Window(), 0u);
  EXPECT_EQ(windows_.Posted().size(), 1u);
}

TEST_F(Wallpaper, AWallpaperStartedLaterIsFoundAtTheNextPost) {
  Desktop({ShellDesktop()});
  WallpaperChannel channel(windows_);
  channel.Open();
  channel.Post(2, 1);
  EXPECT_TRUE(windows_.Posted().empty());

  const WindowHandle started = windows_.Create(0, u"", u"Direct3D Window");
  channel.Post(2, 0);
  EXPECT_EQ(windows_.Posted(),
            (std::vector<fakes::PostedMessage>{{started, channel.Message(), 2, 0}}));
}

TEST_F(Wallpaper, ALiveWindowIsKeptEvenWhenTheWalkWouldNowPickAnother) {
  Desktop({ShellDesktop(), D3d("held")});
  WallpaperChannel channel(windows_);
  channel.Open();
  // A new top-level wallpaper window lands before the icon list.
  const WindowHandle newer = windows_.Create(0, u"", u"Direct3D Window");
  ASSERT_EQ(FindWallpaperWindow(windows_), newer);
  channel.Post(3, 70);
  EXPECT_EQ(channel.Window(), Tagged("held"));
  EXPECT_EQ(windows_.Posted(),
            (std::vector<fakes::PostedMessage>{{Tagged("held"), channel.Message(), 3, 70}}));
}

TEST_F(Wallpaper, ReopeningForgetsTheHeldWindow) {
  Desktop({D3d("w")});
  WallpaperChannel channel(windows_);
  channel.Open();
  ASSERT_EQ(channel.Window(), Tagged("w"));
  windows_.Destroy(Tagged("w"));
  channel.Open();
  EXPECT_EQ(channel.Window(), 0u);
}

}  // namespace
}  // namespace glimmer
