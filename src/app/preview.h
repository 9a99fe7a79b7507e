// The preview mode: one stored picture inside the display control panel's
// preview box. What the window looks like and when it lives is decided here;
// src/win32/preview_win32 only carries those decisions to User32 and OLE.
#pragma once

#include <cstdint>

#include "platform/ports.h"

namespace glimmer {

// The picture: resource type "JPEGFILE" (a named type), identifier 150.
inline constexpr char16_t kPreviewPictureType[] = u"JPEGFILE";
inline constexpr std::uint16_t kPreviewPictureId = 150;

// The window class: CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, the system window
// colour as background (COLOR_WINDOW + 1), the standard arrow (IDC_ARROW).
inline constexpr std::uint32_t kPreviewClassStyle = 0x0001u | 0x0002u | 0x0008u;
inline constexpr int kPreviewBackgroundColour = 5 + 1;
inline constexpr std::uint16_t kPreviewCursorId = 32512;
// The child's styles: WS_CHILD | WS_VISIBLE, no extended styles, no menu.
inline constexpr std::uint32_t kPreviewChildStyle = 0x40000000u | 0x10000000u;

struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
  bool operator==(const Rect&) const = default;
};

// Position and size as CreateWindowExW takes them.
struct Placement {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const Placement&) const = default;
};

// Where the child goes, from the parent's client rectangle after it has been
// adjusted for kPreviewChildStyle. The child is created once with this
// placement and does not follow the parent's later size changes.
Placement PreviewChildPlacement(const Rect& adjustedClient);

// The arguments of IPicture::Render: destination in device pixels, source in
// the picture's HIMETRIC units. HIMETRIC runs bottom-up, so an upright picture
// starts at the source's bottom edge with a negative height.
struct PictureRender {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t sourceX = 0;
  std::int32_t sourceY = 0;
  std::int32_t sourceWidth = 0;
  std::int32_t sourceHeight = 0;
  bool operator==(const PictureRender&) const = default;
};

// The whole picture stretched over the whole client area, upright; the
// aspect ratio is not kept.
PictureRender StretchPictureOver(const Rect& client, std::int32_t pictureWidth,
                                 std::int32_t pictureHeight);

// What the message loop does with GetMessageW's result.
enum class FetchOutcome { Dispatch, FetchAgain, Quit };
FetchOutcome AfterFetch(int getMessageResult);

enum class PreviewState { NotCreated, ShownWithoutPicture, ShownWithPicture, Destroyed };

// The life of the one preview window. The mode waits only for Destroyed: a
// failed class or window ends it before there is anything to wait for, and a
// picture that cannot be loaded leaves the window up, showing the background
// colour, until the control panel destroys it.
class PreviewLifecycle {
 public:
  PreviewState State() const { return state_; }

  // After the window class is ensured and CreateWindowExW has returned. The
  // control panel may destroy the box while the child is still being created
  // (the creation waits on the parent's thread); the window is gone then.
  void Created(bool classReady, bool windowCreated);
  // True exactly once, right after creation: the picture is decoded once,
  // before the first paint, never on a paint.
  bool ShouldLoadPicture() const { return state_ == PreviewState::ShownWithoutPicture && !tried_; }
  void PictureLoaded(bool loaded);
  // Whether the message loop has a window to wait for.
  bool WaitsForDestroy() const {
    return state_ == PreviewState::ShownWithoutPicture || state_ == PreviewState::ShownWithPicture;
  }
  // WM_DESTROY, also one that arrives inside CreateWindowExW: true when the
  // quit message (code 0) is to be posted.
  bool Destroyed();

 private:
  PreviewState state_ = PreviewState::NotCreated;
  bool tried_ = false;
};

// The box belongs to the control panel's process, whose DPI awareness may
// differ from the shell's (per monitor). A child made in another context than
// its box comes out scaled wrongly: under Wine, with the shell at 144 DPI and
// an unaware box of 152 x 112 at 96, it took 101 x 75 pixels. So the
// preview's thread takes the box's context before it reads the box's
// rectangle and keeps it while the child lives; its own context comes back
// when the scope ends, after the message loop. Where the system cannot tell a
// window's context (before Windows 10 1607), or the box is gone, or its
// context is refused, the thread stays as it is and nothing is restored.
class BoxDpiScope {
 public:
  BoxDpiScope(WindowPort& windows, WindowHandle box);
  BoxDpiScope(const BoxDpiScope&) = delete;
  BoxDpiScope& operator=(const BoxDpiScope&) = delete;
  ~BoxDpiScope();

 private:
  WindowPort& windows_;
  DpiContext replaced_ = 0;  // 0: the thread's context was not changed
};

}  // namespace glimmer
