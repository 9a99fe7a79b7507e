// The value text: one setting's registry form, its type number, a colon, a
// blank and the value ("1: 0.500000", "2: 15", "3: de"). Every reader and
// writer of that form in the shell goes through here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/node.h"

namespace glimmer {

// What the loader reads of a value: its data up to 4096 bytes.
inline constexpr std::size_t kValueTextCapacity = 2048;

// "%u: %f", "%u: %i" or "%u: %s" of a Float, Int or String value, printed in
// the C locale (the shell never leaves it): "." as the decimal point, and
// inf and nan as C prints them. None for another type, and for a string too
// long for the loader to read back whole: it is refused rather than cut.
std::optional<std::u16string> FormatValueText(const Node::Value& value);

// A text that begins with exactly "1: ", "2: " or "3: ": its type, and the
// body after those three units, untouched.
struct ValueText {
  ValueType type = ValueType::Unset;
  std::u16string_view body;
};
std::optional<ValueText> SplitValueText(std::u16string_view text);

// The value the loader takes from a body, as by "%[^\t]" after the format's
// blank: from the first unit that is not white space up to the first TAB.
std::u16string_view LoadedValue(std::u16string_view body);

// "%i" (an optional sign, then "0x" and hexadecimal digits, "0" and octal
// digits, or decimal digits) and "%f" (decimal or hexadecimal, inf, nan):
// the longest prefix that forms a number. False, with number untouched, when
// none does. Integers out of range stay at the 32-bit limits.
bool ReadIntText(std::u16string_view text, std::int32_t& number);
bool ReadFloatText(std::u16string_view text, float& number);

// The monitor index of a saved "CurMonitor" value text as the video-memory
// query reads it: the text from its third unit on, read as wcstol does in
// base 10 (blanks skipped, up to the first non-digit, 0 without digits); 0
// for a text shorter than two units.
std::int32_t MonitorIndexFromValueText(std::u16string_view text);

}  // namespace glimmer
