// Which language the dialogs speak, and the catalogue a settings dialog loads
// when it opens.
#pragma once

#include <string>
#include <string_view>

#include "i18n/text_catalog.h"
#include "platform/ports.h"
#include "platform/registry_port.h"

namespace glimmer {

// The text block that every dialog of the shell translates from.
inline constexpr std::u16string_view kDialogTextBlock = u"Screensaver Settings Dialog";

// "de", "fr" or "ru" when the stored "Language" value is exactly "3: de",
// "3: fr" or "3: ru"; "en" for anything else, a missing value included.
std::u16string ChooseLanguageTag(RegistryPort& registry, SystemPort& system);

// The catalogue from the program's resources, with the stored language and
// the dialog block selected.
TextCatalog LoadDialogCatalog(ResourcePort& resources, RegistryPort& registry, SystemPort& system);

}  // namespace glimmer
