// The XML parser works in wchar_t: UTF-16 on Windows, UTF-32 elsewhere. These
// helpers carry its texts to and from the core's UTF-16 without changing a code
// unit, so a lookup compares the same units on every platform.
#pragma once

#include <string>
#include <string_view>

namespace glimmer {

// The parser's text as UTF-16. On UTF-32 platforms a code point above U+FFFF
// becomes the pair the parser itself would write on Windows; lone surrogates
// pass through as single units.
std::u16string FromXmlText(std::wstring_view text);

// FromXmlText(text) == other, without building the UTF-16 copy: lookups compare
// every key of a block this way.
bool XmlTextEquals(const wchar_t* text, std::u16string_view other);

// UTF-16 as the parser's text. Pairs become one code point on UTF-32 platforms;
// lone surrogates pass through unchanged.
std::wstring ToXmlText(std::u16string_view text);

}  // namespace glimmer
