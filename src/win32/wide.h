// On Windows wchar_t is UTF-16, so the core's char16_t texts pass to and from
// the API by a cast of the same code units, never through another encoding.
#pragma once

#include <string>
#include <string_view>

namespace glimmer::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wchar_t is UTF-16");

// A NUL-terminated copy of the same code units.
inline std::wstring Wide(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}
inline const char16_t* AsU16(const wchar_t* text) {
  return reinterpret_cast<const char16_t*>(text);
}
inline std::u16string U16(std::wstring_view text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

}  // namespace glimmer::win32
