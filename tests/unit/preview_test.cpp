#include "app/preview.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "fakes/fake_windows.h"

namespace glimmer {
namespace {

TEST(Preview, ChildTakesTheAdjustedClientRectangle) {
  struct Case {
    Rect adjusted;
    Placement expected;
  } cases[] = {
      {{0, 0, 152, 112}, {0, 0, 152, 112}},
      {{0, 0, 400, 100}, {0, 0, 400, 100}},
      // A style with a frame would move the origin out; size stays right minus left.
      {{-3, -22, 155, 115}, {-3, -22, 158, 137}},
      {{0, 0, 0, 0}, {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, PreviewChildPlacement(c.adjusted))
        << c.adjusted.left << "," << c.adjusted.top << "," << c.adjusted.right << ","
        << c.adjusted.bottom;
  }
}

// HIMETRIC sizes as a 96-dpi picture of 152 x 112 pixels reports them.
constexpr std::int32_t kPictureWidth = 4022;
constexpr std::int32_t kPictureHeight = 2963;

TEST(Preview, PictureIsStretchedUprightOverTheWholeClientArea) {
  struct Case {
    Rect client;
    PictureRender expected;
  } cases[] = {
      {{0, 0, 152, 112}, {0, 0, 152, 112, 0, kPictureHeight, kPictureWidth, -kPictureHeight}},
      {{0, 0, 608, 448}, {0, 0, 608, 448, 0, kPictureHeight, kPictureWidth, -kPictureHeight}},
      // Another aspect ratio: stretched, not letterboxed.
      {{0, 0, 300, 60}, {0, 0, 300, 60, 0, kPictureHeight, kPictureWidth, -kPictureHeight}},
      // Painting is client-relative even when the rectangle is not.
      {{10, 20, 110, 70}, {0, 0, 100, 50, 0, kPictureHeight, kPictureWidth, -kPictureHeight}},
  };
  for (const auto& c : cases) {
    const PictureRender render = StretchPictureOver(c.client, kPictureWidth, kPictureHeight);
    EXPECT_EQ(c.expected, render) << "client " << c.client.right << "x" << c.client.bottom;
    // Upright: the source starts at the top edge of the bottom-up HIMETRIC space
    // and runs down to its origin.
    EXPECT_EQ(0, render.sourceY + render.sourceHeight);
  }
}

TEST(Preview, MessageLoopEndsOnlyOnQuit) {
  struct Case {
    int fetched;
    FetchOutcome expected;
  } cases[] = {
      {1, FetchOutcome::Dispatch},
      {INT_MAX, FetchOutcome::Dispatch},
      {-1, FetchOutcome::FetchAgain},
      {0, FetchOutcome::Quit},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, AfterFetch(c.fetched)) << c.fetched;
}

enum class Event { Create, ClassFails, WindowFails, LoadOk, LoadFails, Destroy };

struct LifecycleCase {
  const char* name;
  std::vector<Event> events;
  PreviewState state;
  bool waits;  // the loop has a window to wait for
  int quits;   // quit messages posted
  int loads;   // picture loads asked for
};

// Named by the case alone: gtest would otherwise print the raw bytes,
// padding included.
void PrintTo(const LifecycleCase& c, std::ostream* out) { *out << c.name; }

class PreviewLifecycleTest : public testing::TestWithParam<LifecycleCase> {};

TEST_P(PreviewLifecycleTest, FollowsTheWindow) {
  const LifecycleCase& c = GetParam();
  PreviewLifecycle lifecycle;
  int quits = 0;
  int loads = 0;
  for (Event event : c.events) {
    switch (event) {
      case Event::Create:
        lifecycle.Created(true, true);
        break;
      case Event::ClassFails:
        lifecycle.Created(false, false);
        break;
      case Event::WindowFails:
        lifecycle.Created(true, false);
        break;
      case Event::LoadOk:
      case Event::LoadFails:
        if (lifecycle.ShouldLoadPicture()) ++loads;
        lifecycle.PictureLoaded(event == Event::LoadOk);
        break;
      case Event::Destroy:
        if (lifecycle.Destroyed()) ++quits;
        break;
    }
  }
  EXPECT_EQ(c.state, lifecycle.State());
  EXPECT_EQ(c.waits, lifecycle.WaitsForDestroy());
  EXPECT_EQ(c.quits, quits);
  EXPECT_EQ(c.loads, loads);
}

using E = Event;
using S = PreviewState;

INSTANTIATE_TEST_SUITE_P(
    Preview, PreviewLifecycleTest,
    testing::Values(
        LifecycleCase{"NothingYet", {}, S::NotCreated, false, 0, 0},
        LifecycleCase{"NoParent", {E::WindowFails, E::LoadOk}, S::NotCreated, false, 0, 0},
        LifecycleCase{"NoClass", {E::ClassFails}, S::NotCreated, false, 0, 0},
        LifecycleCase{"Shown", {E::Create, E::LoadOk}, S::ShownWithPicture, true, 0, 1},
        LifecycleCase{
            "MissingPicture", {E::Create, E::LoadFails}, S::ShownWithoutPicture, true, 0, 1},
        // Decoded once: neither a retry after a failure nor a second load.
        LifecycleCase{"NoSecondLoad",
                      {E::Create, E::LoadFails, E::LoadOk},
                      S::ShownWithoutPicture,
                      true,
                      0,
                      1},
        LifecycleCase{
            "CreatedOnce", {E::Create, E::LoadOk, E::Create}, S::ShownWithPicture, true, 0, 1},
        LifecycleCase{"Closed", {E::Create, E::LoadOk, E::Destroy}, S::Destroyed, false, 1, 1},
        LifecycleCase{"ClosedWithoutPicture",
                      {E::Create, E::LoadFails, E::Destroy},
                      S::Destroyed,
                      false,
                      1,
                      1},
        LifecycleCase{
            "QuitPostedOnce", {E::Create, E::Destroy, E::Destroy}, S::Destroyed, false, 1, 0},
        LifecycleCase{
            "ClosedBeforeLoading", {E::Create, E::Destroy, E::LoadOk}, S::Destroyed, false, 1, 0},
        // The box went away while CreateWindowExW still waited on the parent's
        // thread: the quit is posted, and the creation that then returns does
        // not bring the window back to wait for.
        LifecycleCase{
            "ClosedDuringCreation", {E::Destroy, E::Create, E::LoadOk}, S::Destroyed, false, 1, 0}),
    [](const testing::TestParamInfo<LifecycleCase>& info) { return std::string(info.param.name); });

TEST(Preview, ThreadTakesTheBoxDpiContextUntilThePreviewEnds) {
  constexpr DpiContext kSystemAware = static_cast<DpiContext>(-2);
  constexpr DpiContext kUnaware = 0x10, kSystem = 0x11, kPerMonitorV2 = 0x22;  // the fake's
  struct Case {
    const char* name;
    bool hasDpiCalls;
    DpiContext thread;  // the preview thread's context before
    DpiContext box;     // the box's (made in this context); 0: the box is gone
    DpiContext inside;  // the thread's while the preview runs
  } cases[] = {
      {"unaware box", true, kPerMonitorV2, kDpiContextUnaware, kUnaware},
      {"system-aware box", true, kPerMonitorV2, kSystemAware, kSystem},
      {"box of the thread's own context", true, kPerMonitorV2, kPerMonitorV2, kPerMonitorV2},
      // What the thread had comes back, not the process's default.
      {"thread not in its default", true, kSystemAware, kDpiContextUnaware, kUnaware},
      {"box gone", true, kPerMonitorV2, 0, kPerMonitorV2},
      {"before Windows 10 1607", false, kPerMonitorV2, kDpiContextUnaware, kPerMonitorV2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeWindows windows;
    const DpiContext own = windows.SetThreadDpiAwarenessContext(c.box != 0 ? c.box : kPerMonitorV2);
    const WindowHandle box = windows.Create(0, u"Box");
    windows.SetThreadDpiAwarenessContext(own);
    if (c.box == 0) windows.Destroy(box);
    windows.SetThreadDpiAwarenessContext(c.thread);
    const DpiContext before = windows.ThreadDpiContext();
    windows.hasDpiCalls = c.hasDpiCalls;
    {
      const BoxDpiScope scope(windows, box);
      EXPECT_EQ(c.inside, windows.ThreadDpiContext());
    }
    EXPECT_EQ(before, windows.ThreadDpiContext());
  }
}

}  // namespace
}  // namespace glimmer
