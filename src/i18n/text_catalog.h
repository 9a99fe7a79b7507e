// The dialogs' text catalogue: translations of English texts, looked up by the
// English text itself. One catalogue serves the whole process; until one is
// installed, and whenever loading failed, every text translates to itself.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/ports.h"
#include "resource_ids.h"

namespace glimmer {

inline constexpr std::uint16_t kCatalogResourceId = IDR_CATALOG;

class TextCatalog {
 public:
  // Replaces the process-wide catalogue (destroying the previous one) with one
  // loaded from the file at path (UTF-8; skipped when empty or when it names
  // nothing) or else from RCDATA resource resourceId, then selects "en" when the
  // catalogue has it. A failed load leaves an empty catalogue.
  static TextCatalog& Install(std::string_view path, std::uint16_t resourceId);
  // The process-wide catalogue, or null before the first Install.
  static TextCatalog* Installed();
  // Drops the process-wide catalogue, so that lookups return their keys again.
  static void Uninstall();

  ~TextCatalog();
  TextCatalog(const TextCatalog&) = delete;
  TextCatalog& operator=(const TextCatalog&) = delete;

  // Make current the first language / text block whose Tag equals tag exactly;
  // false, with the selection unchanged, when there is none.
  bool SelectLanguage(std::u16string_view tag);
  bool SelectTextBlock(std::u16string_view tag);

  // True with the current language's text when the current block has an entry
  // for key (the empty text when the entry lacks that language); false with
  // text set to key otherwise.
  bool TryTranslate(std::u16string_view key, std::u16string& text) const;
  std::u16string Translate(std::u16string_view key) const;

  // The current language's Tag, empty when there is none.
  std::u16string CurrentLanguageTag() const;

  // Translates the window's own text and the texts of its direct children;
  // texts that are not keys stay as they are.
  void TranslateWindow(WindowHandle window) const;

 private:
  struct State;
  TextCatalog();
  void Load(std::string_view path, std::uint16_t resourceId);
  bool LoadDocument(std::string_view path, std::uint16_t resourceId);

  std::unique_ptr<State> state_;
};

// The installed catalogue's translation of key, or key itself when there is no
// catalogue or no entry.
std::u16string Translate(std::u16string_view key);

}  // namespace glimmer
