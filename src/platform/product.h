// The product's facts, each defined once for every area of the shell: the
// names by which Windows, the installer and the main program know it, the
// setting names of its registry key, and the texts of its error boxes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/direct3d9_port.h"
#include "platform/ports.h"
#include "platform/registry_port.h"

namespace glimmer {

inline constexpr std::u16string_view kProductName = u"Glimmerdale 3D Screensaver";
inline constexpr std::u16string_view kProductVersion = u"1.0";

// Below HKEY_LOCAL_MACHINE, in the 64-bit view on 64-bit Windows.
inline constexpr std::u16string_view kSettingsKey =
    u"Software\\Vellumark\\Glimmerdale 3D Screensaver";

// The main program, and where the installers say it is: "AppPath" in the
// settings key, "InstallLocation" in their uninstall keys. Read, never written.
inline constexpr std::u16string_view kMainProgramFile = u"\\Glimmerdale 3D Screensaver.exe";
inline constexpr std::u16string_view kProductFolder = u"\\Glimmerdale 3D Screensaver";
inline constexpr std::u16string_view kAppPathValue = u"AppPath";
inline constexpr std::u16string_view kInstallLocationValue = u"InstallLocation";
inline constexpr std::u16string_view kScreensaverUninstallKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdale 3D Screensaver_is1";
inline constexpr std::u16string_view kCombinedUninstallKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    u"Glimmerdale 3D Screensaver and Animated Wallpaper_is1";

// Where Windows keeps what runs at log-on (below HKEY_CURRENT_USER), and the
// product's entry there.
inline constexpr std::u16string_view kRunKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::u16string_view kRunValue = u"VellumarkAnimatedWallpaper";

// The playlist: a plain list in the settings key, outside the settings tree.
inline constexpr std::u16string_view kPlayListValue = u"PlayList";
// A longer line of the list or of an M3U file ends its reading.
inline constexpr std::size_t kMaxPlaylistLine = 2022;

// The settings tree's keys, each a value of the settings key.
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
inline constexpr std::u16string_view kModeWidth = u"ModeWidth";
inline constexpr std::u16string_view kModeHeight = u"ModeHeight";
inline constexpr std::u16string_view kModeFormat = u"ModeFormat";
inline constexpr std::u16string_view kLanguage = u"Language";
}  // namespace keys

// The most monitors the settings can name: "CurMonitor" 0 to 8, and the
// per-monitor settings of monitors 1 to 8 with that number after the name.
inline constexpr std::int32_t kMostMonitors = 9;
inline constexpr std::int32_t kMostVolume = 100;
inline constexpr std::int32_t kFewestSamples = 2;
inline constexpr std::int32_t kMostSamples = 31;
// Full-screen modes smaller than this are not offered; no display has a
// side longer than the largest.
inline constexpr std::int32_t kSmallestModeWidth = 640;
inline constexpr std::int32_t kSmallestModeHeight = 480;
inline constexpr std::int32_t kLargestModeSide = 16384;

// Every setting the settings dialog can write of its own, with the Int
// values it can write there: from lowest to highest. What the dialog writes
// otherwise is what it loaded ("Language", "ShowFPS" 1, a "MonitorAspectRatio"
// of 2, values the product does not know), and the elevated save accepts
// that only as it stands in the key. A per-monitor setting is the plain name
// for the first monitor and the name followed by 1 to 8 for the others.
struct SettingRange {
  std::u16string_view name;
  std::int32_t lowest;
  std::int32_t highest;
  bool perMonitor = false;
};
inline constexpr SettingRange kSettingRanges[] = {
    {keys::kHighQualityTextures, 0, 1},
    {keys::kEnableMultiMonitorMode, 0, 1},
    {keys::kShowBlackScreens, 0, 1},
    {keys::kShowFps, 0, 0},  // no control: only the default
    {keys::kDisableOnMouseActivate, 0, 1},
    {keys::kMusicVolumePercentage, 0, kMostVolume},
    {keys::kDisableMusic, 0, 1},
    {keys::kSoundsVolumePercentage, 0, kMostVolume},
    {keys::kDisableSound, 0, 1},
    {keys::kMonitorAspectRatio, 4, 4},  // no control: only the default, autodetect
    {keys::kUseDesktopRes, 0, 1, true},
    {keys::kUsePlaylist, 0, 1},
    {keys::kHighQualityGraphics, 0, 1},
    {keys::kAntialiasing, 0, kMostSamples},  // off, on, or a sample count from 2
    {keys::kShufflePlayList, 0, 1},
    {keys::kCurMonitor, 0, kMostMonitors - 1},
    {keys::kModeWidth, kSmallestModeWidth, kLargestModeSide, true},
    {keys::kModeHeight, kSmallestModeHeight, kLargestModeSide, true},
    {keys::kModeFormat, kD3dFmtX8R8G8B8, kD3dFmtX8R8G8B8, true},  // the only format listed
};

// Whether the dialog can write number into the setting of that name, spelt
// exactly (the tree's names are case-sensitive).
bool IsSettingValue(std::u16string_view name, std::int32_t number);

// The error boxes' texts, translated where a catalogue is loaded.
inline constexpr std::u16string_view kErrorCaption = u"Error!";
inline constexpr std::u16string_view kRegistryWriteErrorMessage =
    u"Error writing to the system registry. Please NOTE: You need to have sufficient "
    u"administrative rights to run this program successfully.";
inline constexpr std::u16string_view kMainFileMissingMessage =
    u"Can't find the main file! Please reinstall screensaver.";
inline constexpr std::u16string_view kStartFailedMessage =
    u"Can't start the screensaver! Please try to restart your computer.";

// The folder the product was installed into: "AppPath" in the native view,
// else the screensaver package's "InstallLocation" in the native view, then in
// the 32-bit view; "" when none is known.
std::u16string InstallFolder(RegistryPort& registry, SystemPort& system);

}  // namespace glimmer
