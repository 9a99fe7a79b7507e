// Names that identify the product to Windows, shared by every area.
#pragma once

#include <string_view>

namespace glimmer {

// Below HKEY_LOCAL_MACHINE, in the 64-bit view on 64-bit Windows.
inline constexpr std::u16string_view kSettingsKey =
    u"Software\\Vellumark\\Glimmerdale 3D Screensaver";

inline constexpr std::u16string_view kProductName = u"Glimmerdale 3D Screensaver";
inline constexpr std::u16string_view kProductVersion = u"1.0";

// The message shown when the settings or the playlist cannot be written.
inline constexpr std::u16string_view kRegistryWriteErrorMessage =
    u"Error writing to the system registry. Please NOTE: You need to have sufficient "
    u"administrative rights to run this program successfully.";
inline constexpr std::u16string_view kErrorCaptionText = u"Error!";

}  // namespace glimmer
