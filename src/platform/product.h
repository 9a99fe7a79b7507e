// Names that identify the product to Windows, shared by every area.
#pragma once

#include <string_view>

namespace glimmer {

// Below HKEY_LOCAL_MACHINE, in the 64-bit view on 64-bit Windows.
inline constexpr std::u16string_view kSettingsKey =
    u"Software\\Vellumark\\Glimmerdale 3D Screensaver";

}  // namespace glimmer
