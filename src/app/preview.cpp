#include "app/preview.h"

namespace glimmer {

Placement PreviewChildPlacement(const Rect& adjustedClient) {
  return {adjustedClient.left, adjustedClient.top, adjustedClient.right - adjustedClient.left,
          adjustedClient.bottom - adjustedClient.top};
}

PictureRender StretchPictureOver(const Rect& client, std::int32_t pictureWidth,
                                 std::int32_t pictureHeight) {
  // Destination from the client area's origin, as the paint DC is client-relative.
  PictureRender render;
  render.width = client.right - client.left;
  render.height = client.bottom - client.top;
  render.sourceY = pictureHeight;
  render.sourceWidth = pictureWidth;
  render.sourceHeight = -pictureHeight;
  return render;
}

FetchOutcome AfterFetch(int getMessageResult) {
  // GetMessageW: 0 for WM_QUIT, -1 for an error (a bad argument), else a message.
  if (getMessageResult == 0) return FetchOutcome::Quit;
  if (getMessageResult == -1) return FetchOutcome::FetchAgain;
  return FetchOutcome::Dispatch;
}

void PreviewLifecycle::Created(bool classReady, bool windowCreated) {
  if (state_ != PreviewState::NotCreated) return;  // destroyed during creation stays destroyed
  if (classReady && windowCreated) state_ = PreviewState::ShownWithoutPicture;
}

void PreviewLifecycle::PictureLoaded(bool loaded) {
  if (!ShouldLoadPicture()) return;
  tried_ = true;
  if (loaded) state_ = PreviewState::ShownWithPicture;
}

bool PreviewLifecycle::Destroyed() {
  if (state_ == PreviewState::Destroyed) return false;
  state_ = PreviewState::Destroyed;
  return true;
}

BoxDpiScope::BoxDpiScope(WindowPort& windows, WindowHandle box) : windows_(windows) {
  const DpiContext boxContext = windows_.GetWindowDpiAwarenessContext(box);
  if (boxContext != 0) replaced_ = windows_.SetThreadDpiAwarenessContext(boxContext);
}

BoxDpiScope::~BoxDpiScope() {
  if (replaced_ != 0) windows_.SetThreadDpiAwarenessContext(replaced_);
}

}  // namespace glimmer
