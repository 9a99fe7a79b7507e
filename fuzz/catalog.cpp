// Arbitrary bytes as the catalogue resource, then the lookups, window
// translation and formatting that the dialogs do with whatever loaded. The
// formatter's answer depends on its format alone, so each distinct text is
// formatted once per run however many languages and blocks translate to it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fakes/fake_resources.h"
#include "fakes/fake_system.h"
#include "fakes/fake_windows.h"
#include "i18n/format.h"
#include "i18n/text_catalog.h"

namespace {

using glimmer::FormatText;
using glimmer::FormatTranslated;
using glimmer::TextCatalog;

constexpr std::u16string_view kTags[] = {u"en", u"ru", u"de", u"fr", u"", u"B"};
constexpr std::u16string_view kBlocks[] = {u"Screensaver Settings Dialog", u"Screensaver", u"",
                                           u"B"};
constexpr std::u16string_view kKeys[] = {u"Cancel", u"",          u"Name",      u"Traditional ",
                                         u"K",      u"4:3 \"a\"", u"\U0001F600"};
// The dialog's formats: FormatTranslated compares a translation's placeholders
// with its key's, so these are formatted once per distinct translation.
constexpr std::u16string_view kFormats[] = {u"Music volume: %.01i%%", u"%s %s Configuration"};

// Texts already formatted in this run: as formats of their own (key -1) or
// as the translation of kFormats[key].
class Formatted {
 public:
  bool First(int key, const std::u16string& text) {
    for (const auto& [seenKey, seenText] : seen_)
      if (seenKey == key && seenText == text) return false;
    seen_.emplace_back(key, text);
    return true;
  }

 private:
  std::vector<std::pair<int, std::u16string>> seen_;
};

void TranslateAndFormat(const TextCatalog& catalog, Formatted& formatted) {
  for (std::u16string_view key : kKeys) {
    const std::u16string text = catalog.Translate(key);
    // Translated texts as formats of their own: whatever they hold, the
    // formatter must refuse them or fill them within bounds.
    if (!formatted.First(-1, text)) continue;
    FormatText(text, {7});
    FormatText(text, {u"x", -1});
    FormatText(text, {1u, 2, 3});
  }
  if (formatted.First(0, catalog.Translate(kFormats[0])))
    FormatTranslated(catalog, kFormats[0], {40});
  if (formatted.First(1, catalog.Translate(kFormats[1])))
    FormatTranslated(catalog, kFormats[1], {u"Glimmerdale 3D Screensaver", u"1.0"});
}

void Exercise(TextCatalog& catalog) {
  Formatted formatted;
  TranslateAndFormat(catalog, formatted);
  for (std::u16string_view tag : kTags) {
    catalog.SelectLanguage(tag);
    catalog.CurrentLanguageTag();
    TranslateAndFormat(catalog, formatted);
  }
  for (std::u16string_view block : kBlocks) {
    catalog.SelectTextBlock(block);
    TranslateAndFormat(catalog, formatted);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The resources hold nothing but the input, which replaces the last one;
  // the windows are made anew, since translating a dialog changes its texts.
  static glimmer::fakes::FakeResources resources;
  static glimmer::fakes::FakeSystem system;
  resources.Put(glimmer::kCatalogResourceId, glimmer::kRtRcdata,
                std::vector<std::uint8_t>(data, data + size));
  glimmer::fakes::FakeWindows windows;

  TextCatalog catalog = TextCatalog::Load(resources, system, "", glimmer::kCatalogResourceId);
  Exercise(catalog);

  const glimmer::WindowHandle dialog = windows.Create(0, u"Cancel");
  windows.Create(dialog, u"K");
  windows.Create(dialog, u"");
  windows.Create(windows.Create(dialog, u"Name"), u"Cancel");
  catalog.TranslateWindow(windows, dialog);
  return 0;
}
