// Finding the running animated wallpaper (the main program started with "/w")
// and posting it the settings dialog's live changes.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ports.h"

namespace glimmer {

// The message both programs register by name; wParam carries a code, lParam
// its value.
inline constexpr std::u16string_view kWallpaperMessageName = u"ChangeWallpaperSettingsGlimmerdale";

// The wallpaper's window: the last window of class "Direct3D Window" met
// before the desktop's icon list, else the first one after it; without an
// icon list, the last one on the desktop. 0 when there is none.
WindowHandle FindWallpaperWindow(WindowPort& windows);

// The channel a settings dialog keeps while it is open.
class WallpaperChannel {
 public:
  explicit WallpaperChannel(WindowPort& windows) : windows_(windows) {}

  // Registers the message and looks for the wallpaper.
  void Open();
  // Looks for the wallpaper again when the held window is gone (the
  // wallpaper was closed or restarted), then posts code and value to it when
  // there is one. Never waits for the wallpaper; a failed post is ignored.
  void Post(std::uint32_t code, std::int32_t value);
  std::uint32_t Message() const { return message_; }
  WindowHandle Window() const { return window_; }

 private:
  WindowPort& windows_;
  std::uint32_t message_ = 0;
  WindowHandle window_ = 0;
};

}  // namespace glimmer
