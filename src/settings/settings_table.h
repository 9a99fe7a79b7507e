// The product's settings: their keys and defaults, loading and saving the
// settings tree, and the start-up entry that runs the wallpaper at log-on.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/node.h"
#include "platform/ports.h"

namespace glimmer {

namespace keys {
inline constexpr std::u16string_view kHighQualityTextures = u"HighQualityTextures";
inline constexpr std::u16string_view kEnableMultiMonitorMode = u"EnableMultiMonitorMode";
inline constexpr std::u16string_view kShowBlackScreens = u"ShowBlackScreens";
inline constexpr std::u16string_view kShowFps = u"ShowFPS";
inline constexpr std::u16string_view kDisableOnMouseActivate = u"DisableOnMouseActivate";
inline constexpr std::u16string_view kMusicVolumePercentage = u"MusicVolumePercentage";
inline constexpr std::u16string_view kDisableMusic = u"DisableMusic";
inline constexpr std::u16string_view kSoundsVolumePercentage = u"SoundsVolumePercentage";
inline constexpr std::u16string_view kDisableSound = u"DisableSound";
inline constexpr std::u16string_view kMonitorAspectRatio = u"MonitorAspectRatio";
inline constexpr std::u16string_view kUseDesktopRes = u"UseDesktopRes";
inline constexpr std::u16string_view kUsePlaylist = u"UsePlaylist";
inline constexpr std::u16string_view kHighQualityGraphics = u"HighQualityGraphics";
inline constexpr std::u16string_view kAntialiasing = u"Antialiasing";
inline constexpr std::u16string_view kShufflePlayList = u"ShufflePlayList";
inline constexpr std::u16string_view kCurMonitor = u"CurMonitor";
}  // namespace keys

inline constexpr std::int32_t kDefaultVolume = 15;
inline constexpr std::int32_t kAutodetectAspectRatio = 4;

// Where Windows keeps what runs at log-on, and the product's entry there.
inline constexpr std::u16string_view kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::u16string_view kRunValue = u"VellumarkAnimatedWallpaper";

// Writes every default into settings, the three hardware-dependent ones
// measured anew; keys without a default are left alone.
void SetDefaultSettings(Node& settings);

// Merges the settings key over what settings holds; the result is not used:
// an unreadable key leaves the defaults.
void LoadSavedSettings(Node& settings);

// Writes the tree to the settings key; shows the registry error box, owned by
// owner, when that fails.
void SaveSettings(const Node& settings, WindowHandle owner);

// The folder the product was installed into: "AppPath", else the uninstaller's
// "InstallLocation"; "" when neither is known.
std::u16string InstallFolder();

// "\"<folder>\Glimmerdale 3D Screensaver.exe\" /w", or "" without an install folder.
std::u16string StartupCommand();

// True when the stored Run entry would start the wallpaper. An empty command
// starts nothing, so it never counts, even when the stored value is empty too.
bool RunsAtStartup();

// Writes the Run entry: the command when checked, else the empty string. The
// value is always written, never deleted; the result is not looked at.
void WriteStartupEntry(bool checked);

}  // namespace glimmer
