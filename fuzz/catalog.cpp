// Arbitrary bytes as the catalogue resource, then the lookups, window
// translation and formatting that the dialogs do with whatever loaded.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fakes/fake_resources.h"
#include "fakes/fake_windows.h"
#include "i18n/format.h"
#include "i18n/text_catalog.h"
#include "platform/ports.h"

namespace {

using glimmer::FormatText;
using glimmer::FormatTranslated;
using glimmer::TextCatalog;
using glimmer::Translate;

constexpr std::u16string_view kTags[] = {u"en", u"ru", u"de", u"fr", u"", u"B"};
constexpr std::u16string_view kBlocks[] = {u"Screensaver Settings Dialog", u"Screensaver", u"",
                                           u"B"};
constexpr std::u16string_view kKeys[] = {u"Cancel", u"",          u"Name",      u"Traditional ",
                                         u"K",      u"4:3 \"a\"", u"\U0001F600"};

void TranslateAndFormat() {
  for (std::u16string_view key : kKeys) Translate(key);
  FormatTranslated(u"Music volume: %.01i%%", {40});
  FormatTranslated(u"%s %s Configuration", {u"Glimmerdale 3D Screensaver", u"1.0"});
  // Translated texts as formats of their own: whatever they hold, the formatter
  // must refuse them or fill them within bounds.
  for (std::u16string_view key : kKeys) {
    const std::u16string text = Translate(key);
    FormatText(text, {7});
    FormatText(text, {u"x", -1});
    FormatText(text, {1u, 2, 3});
  }
}

void Exercise(TextCatalog& catalog) {
  TranslateAndFormat();
  for (std::u16string_view tag : kTags) {
    catalog.SelectLanguage(tag);
    catalog.CurrentLanguageTag();
    TranslateAndFormat();
  }
  for (std::u16string_view block : kBlocks) {
    catalog.SelectTextBlock(block);
    TranslateAndFormat();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  glimmer::fakes::FakeResources resources;
  glimmer::fakes::FakeWindows windows;
  resources.Put(glimmer::kCatalogResourceId, glimmer::kRtRcdata,
                std::vector<std::uint8_t>(data, data + size));
  glimmer::ScopedPorts ports(glimmer::Ports{.windows = &windows, .resources = &resources});

  TextCatalog& catalog = TextCatalog::Install("", glimmer::kCatalogResourceId);
  Exercise(catalog);

  const glimmer::WindowHandle dialog = windows.Create(0, u"Cancel");
  windows.Create(dialog, u"K");
  windows.Create(dialog, u"");
  windows.Create(windows.Create(dialog, u"Name"), u"Cancel");
  catalog.TranslateWindow(dialog);

  TextCatalog::Uninstall();
  return 0;
}
