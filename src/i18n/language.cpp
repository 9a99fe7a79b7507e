#include "i18n/language.h"

#include "config/value_text.h"
#include "platform/product.h"
#include "platform/registry.h"

namespace glimmer {

std::u16string ChooseLanguageTag(RegistryPort& registry, SystemPort& system) {
  std::u16string stored;
  if (ReadRegistryString(registry, system, kHkeyLocalMachine, kSettingsKey, keys::kLanguage, stored,
                         /*prefer64BitView=*/true) != kSOk)
    return u"en";
  // A string's value text, compared whole: nothing is trimmed.
  const std::optional<ValueText> text = SplitValueText(stored);
  if (text && text->type == ValueType::String) {
    for (std::u16string_view tag : {u"de", u"fr", u"ru"})
      if (text->body == tag) return std::u16string(tag);
  }
  return u"en";
}

TextCatalog LoadDialogCatalog(ResourcePort& resources, RegistryPort& registry, SystemPort& system) {
  TextCatalog catalog = TextCatalog::Load(resources, system, {}, kCatalogResourceId);
  // Every tag ChooseLanguageTag gives exists in the shipped catalogue.
  catalog.SelectLanguage(ChooseLanguageTag(registry, system));
  catalog.SelectTextBlock(kDialogTextBlock);
  return catalog;
}

}  // namespace glimmer
