#include "i18n/language.h"

#include "i18n/text_catalog.h"
#include "platform/product.h"
#include "platform/registry.h"

namespace glimmer {

namespace {}  // namespace

std::u16string ChooseLanguageTag() {
  std::u16string stored;
  if (ReadRegistryString(kHkeyLocalMachine, kSettingsKey, u"Language", stored,
                         /*prefer64BitView=*/true) != kSOk) {
    return u"en";
  }
  // The value is in the typed text form, type 3 (string); nothing is trimmed.
  constexpr std::u16string_view kStringPrefix = u"3: ";
  const std::u16string_view text = stored;
  if (text.starts_with(kStringPrefix)) {
    const std::u16string_view tag = text.substr(kStringPrefix.size());
    if (tag == u"de" || tag == u"fr" || tag == u"ru") return std::u16string(tag);
  }
  return u"en";
}

void SetUpDialogLanguage(WindowHandle dialog) {
  TextCatalog& catalog = TextCatalog::Install({}, kCatalogResourceId);
  // Every tag ChooseLanguageTag gives exists in the shipped catalogue.
  catalog.SelectLanguage(ChooseLanguageTag());
  catalog.SelectTextBlock(kDialogTextBlock);
  catalog.TranslateWindow(dialog);
}

}  // namespace glimmer
