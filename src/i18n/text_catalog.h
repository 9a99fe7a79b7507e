// The dialogs' text catalogue: translations of English texts, looked up by the
// English text itself. The settings dialog loads one and passes it wherever
// texts are translated; an empty catalogue, and one whose load failed,
// translates every text to itself.
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
  // An empty catalogue: no languages, no blocks.
  TextCatalog();
  // A catalogue loaded from the file at path (UTF-8; skipped when empty or
  // when system finds nothing there) or else from the RCDATA resource
  // resourceId, with "en" selected when it has that language. A failed load
  // gives an empty catalogue.
  static TextCatalog Load(ResourcePort& resources, SystemPort& system, std::string_view path,
                          std::uint16_t resourceId);

  ~TextCatalog();
  TextCatalog(TextCatalog&&) noexcept;
  TextCatalog& operator=(TextCatalog&&) noexcept;
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
  void TranslateWindow(WindowPort& windows, WindowHandle window) const;

 private:
  struct State;
  void Parse(ResourcePort& resources, SystemPort& system, std::string_view path,
             std::uint16_t resourceId);
  bool LoadDocument(ResourcePort& resources, SystemPort& system, std::string_view path,
                    std::uint16_t resourceId);

  std::unique_ptr<State> state_;
};

}  // namespace glimmer
