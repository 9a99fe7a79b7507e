// printf-style formatting of the product's texts (volume labels, the dialog
// title, list entries), safe for translated formats: it knows only the
// directives the product uses, so a catalogue cannot make it read a missing
// argument or write past anything.
//
// Directives: %% and %s; %i, %d and %u with an optional precision (%.01i) and
// an optional l (%ld), which changes nothing. Numbers use the C locale.
#pragma once

#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace glimmer {

class TextCatalog;

// One value for a directive: a text for %s, an integer for %i, %d and %u. A
// text is referred to, not copied: it must outlive the formatting call.
class FormatArg {
 public:
  FormatArg(std::u16string_view text) : text_(text), isText_(true) {}
  FormatArg(const char16_t* text) : FormatArg(std::u16string_view(text)) {}
  FormatArg(const std::u16string& text) : FormatArg(std::u16string_view(text)) {}
  // Characters and bool are not numbers here; passing one is a mistake.
  template <std::integral T>
  requires(!std::same_as<T, bool> && !std::same_as<T, char> && !std::same_as<T, wchar_t> &&
           !std::same_as<T, char8_t> && !std::same_as<T, char16_t> && !std::same_as<T, char32_t>)
      FormatArg(T number)
      : signed_(std::signed_integral<T>),
        signedValue_(static_cast<std::int64_t>(number)),
        unsignedValue_(static_cast<std::uint64_t>(number)) {}

  bool IsText() const { return isText_; }
  std::u16string_view Text() const { return text_; }
  // %i and %d: the value itself.
  std::u16string AsSigned(int precision) const;
  // %u: a negative value shows as the 32-bit unsigned number it would be on Windows.
  std::u16string AsUnsigned(int precision) const;

 private:
  std::u16string_view text_;
  bool isText_ = false;
  bool signed_ = false;
  std::int64_t signedValue_ = 0;
  std::uint64_t unsignedValue_ = 0;
};

// format filled in with args. A format with an unknown or malformed directive,
// or whose directives do not match args in number and kind, is returned as it is.
std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args);

// Both formats are well formed and have the same directives in the same order
// (%i and %d count as one; precisions must agree).
bool HaveSamePlaceholders(std::u16string_view first, std::u16string_view second);

// FormatText of the catalogue's translation of key; when the translation's
// directives differ from the key's, the key itself is formatted instead.
std::u16string FormatTranslated(const TextCatalog& catalog, std::u16string_view key,
                                std::initializer_list<FormatArg> args);

}  // namespace glimmer
