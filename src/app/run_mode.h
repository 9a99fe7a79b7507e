// The run mode: find the main program, start it without arguments and wait
// for it; the screensaver lasts as long as its process does.
#pragma once

#include <string>
#include <string_view>

#include "platform/product.h"

namespace glimmer {

inline constexpr std::u16string_view kMainProgramFile = u"\\Glimmerdale 3D Screensaver.exe";
inline constexpr std::u16string_view kAppPathValue = u"AppPath";
inline constexpr std::u16string_view kScreensaverUninstallKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdale 3D Screensaver_is1";
inline constexpr std::u16string_view kCombinedUninstallKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
    u"Glimmerdale 3D Screensaver and Animated Wallpaper_is1";
inline constexpr std::u16string_view kInstallLocationValue = u"InstallLocation";
inline constexpr std::u16string_view kProductFolder = u"\\Glimmerdale 3D Screensaver";

inline constexpr std::u16string_view kMainFileMissingMessage =
    u"Can't find the main file! Please reinstall screensaver.";
inline constexpr std::u16string_view kStartFailedMessage =
    u"Can't start the screensaver! Please try to restart your computer.";
inline constexpr std::u16string_view kErrorCaption = u"Error!";

// The full path of the first main-program candidate that exists, or "".
std::u16string FindMainProgram();

// path up to and including its last backslash; "" when it has none.
std::u16string FolderOfPath(std::u16string_view path);

void RunMainProgram();

}  // namespace glimmer
