// Which language the dialogs speak, and the catalogue set-up that a settings
// dialog runs when it opens.
#pragma once

#include <string>
#include <string_view>

#include "platform/ports.h"

namespace glimmer {

// The text block that every dialog of the shell translates from.
inline constexpr std::u16string_view kDialogTextBlock = u"Screensaver Settings Dialog";

// "de", "fr" or "ru" when the stored "Language" value is exactly "3: de",
// "3: fr" or "3: ru"; "en" for anything else, a missing value included.
std::u16string ChooseLanguageTag();

// Installs the catalogue from the program's resources, selects the stored
// language and the dialog block, and translates the dialog's texts.
void SetUpDialogLanguage(WindowHandle dialog);

}  // namespace glimmer
