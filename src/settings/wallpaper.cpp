#include "settings/wallpaper.h"

#include <string>

namespace glimmer {

namespace {

constexpr std::u16string_view kWallpaperClass = u"Direct3D Window";
constexpr std::u16string_view kIconListClass = u"SysListView32";
constexpr std::u16string_view kIconListParentClass = u"SHELLDLL_DefView";
// Class names are at most 256 units. A shorter buffer would truncate a longer
// name into one of ours ("Direct3D Window2" into "Direct3D Window").
constexpr int kClassNameCapacity = 257;

bool HasClass(WindowPort& windows, WindowHandle window, std::u16string_view className) {
  return windows.GetClassName(window, kClassNameCapacity) == className;
}

}  // namespace

WindowHandle FindWallpaperWindow(WindowPort& windows) {
  bool listFound = false;
  WindowHandle wallpaper = 0;
  // Until both the icon list and a wallpaper window have been seen, each
  // further wallpaper window replaces the one held.
  windows.EnumWindows([&](WindowHandle top) {
    if (HasClass(windows, top, kWallpaperClass)) {
      wallpaper = top;
      return !listFound;
    }
    windows.EnumChildWindows(top, [&](WindowHandle child) {
      const std::u16string className = windows.GetClassName(child, kClassNameCapacity);
      if (className == kIconListClass &&
          HasClass(windows, windows.GetParent(child), kIconListParentClass)) {
        listFound = true;
        return wallpaper == 0;
      }
      if (className == kWallpaperClass) {
        wallpaper = child;
        return !listFound;
      }
      return true;
    });
    return !(listFound && wallpaper != 0);
  });
  return wallpaper;
}

void WallpaperChannel::Open() {
  message_ = windows_.RegisterWindowMessage(kWallpaperMessageName);
  window_ = 0;
  window_ = FindWallpaperWindow(windows_);
}

void WallpaperChannel::Post(std::uint32_t code, std::int32_t value) {
  if (!windows_.IsWindow(window_)) {
    window_ = 0;
    window_ = FindWallpaperWindow(windows_);
  }
  if (window_ != 0) windows_.PostMessage(window_, message_, code, value);
}

}  // namespace glimmer
