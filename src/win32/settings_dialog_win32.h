// The settings dialog on a real window: the dialog procedure that hands each
// message to the core's dialog object, and the configure mode's entry.
#pragma once

#include "platform/platform.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

// Shows the settings dialog (template 2003) modally, owned by owner (none
// when null); returns when it ends.
void RunSettingsDialog(HINSTANCE instance, const Platform& platform, HWND owner);

}  // namespace glimmer::win32
