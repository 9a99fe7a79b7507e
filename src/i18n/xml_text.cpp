#include "i18n/xml_text.h"

#include <cstdint>
#include <cwchar>

namespace glimmer {

#if WCHAR_MAX <= 0xFFFF

std::u16string FromXmlText(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

std::wstring ToXmlText(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

bool XmlTextEquals(const wchar_t* text, std::u16string_view other) {
  return std::u16string_view(reinterpret_cast<const char16_t*>(text)) == other;
}

#else

namespace {

// The UTF-16 units of one parser character; the same arithmetic as the parser's
// UTF-16 writer, overflow included, so that a reference beyond U+10FFFF gives
// the units it gives on Windows.
int ToUnits(wchar_t character, char16_t units[2]) {
  const auto c = static_cast<std::uint32_t>(character);
  if (c < 0x10000) {
    units[0] = static_cast<char16_t>(c);
    return 1;
  }
  units[0] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
  units[1] = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  return 2;
}

}  // namespace

std::u16string FromXmlText(std::wstring_view text) {
  std::u16string result;
  result.reserve(text.size());
  char16_t units[2];
  for (wchar_t character : text) result.append(units, ToUnits(character, units));
  return result;
}

bool XmlTextEquals(const wchar_t* text, std::u16string_view other) {
  std::size_t i = 0;
  char16_t units[2];
  for (; *text != 0; ++text) {
    const std::u16string_view next(units, ToUnits(*text, units));
    if (other.substr(i, next.size()) != next) return false;
    i += next.size();
  }
  return i == other.size();
}

std::wstring ToXmlText(std::u16string_view text) {
  std::wstring result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      const char32_t c = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                         (static_cast<char32_t>(text[i + 1]) - 0xDC00);
      result.push_back(static_cast<wchar_t>(c));
      ++i;
    } else {
      result.push_back(static_cast<wchar_t>(unit));
    }
  }
  return result;
}

#endif

}  // namespace glimmer
