// The registry error box that both dialogs show when their save fails.
#pragma once

#include "i18n/text_catalog.h"
#include "platform/ports.h"

namespace glimmer {

// The error icon, the caption "Error!" and the registry write message, both
// in the catalogue's language, owned by owner.
void ShowRegistryWriteError(UiPort& ui, const TextCatalog& catalog, WindowHandle owner);

}  // namespace glimmer
