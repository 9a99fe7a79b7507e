#include "config/value_text.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/text.h"

namespace glimmer {
namespace {

// A number's value text takes at most 50 units; this is its buffer with the terminator.
constexpr std::size_t kNumberTextCapacity = 64;
constexpr std::size_t kPrefixLength = 3;  // "1: "

// The ASCII units at the start of text: a number has no others, and the C
// library's readers want 8-bit text with a terminator.
std::string AsciiPrefix(std::u16string_view text) {
  std::string ascii;
  for (const char16_t unit : text) {
    if (unit == 0 || unit > 0x7F) break;
    ascii.push_back(static_cast<char>(unit));
  }
  return ascii;
}

// A long of either width, kept within the 32-bit range as a 32-bit long would be.
std::int32_t Narrow(long long value) {
  if (value > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "0x" without a hexadecimal digit after it is the number 0 followed by an
// "x", as C has it; not every C library reads it so, so the reader gets the 0
// alone.
std::string WithoutBareHexPrefix(std::string ascii) {
  const std::size_t zero = !ascii.empty() && (ascii[0] == '+' || ascii[0] == '-') ? 1 : 0;
  if (ascii.compare(zero, 2, "0x") == 0 || ascii.compare(zero, 2, "0X") == 0) {
    const char next = zero + 2 < ascii.size() ? ascii[zero + 2] : '\0';
    if (HexDigit(next) < 0) ascii.resize(zero + 1);
  }
  return ascii;
}

// The C library prints and reads the locale's decimal point. The shell never
// leaves the C locale, whose point is "."; should anything in the process
// change it, value texts still have a ".".
std::string_view LocalePoint() {
  const char* point = std::localeconv()->decimal_point;
  return point != nullptr && *point != '\0' ? point : ".";
}

bool ReadLong(std::u16string_view text, int base, std::int32_t& number) {
  const std::string ascii = WithoutBareHexPrefix(AsciiPrefix(text));
  char* end = nullptr;
  const long long value = std::strtoll(ascii.c_str(), &end, base);
  if (end == ascii.c_str()) return false;
  number = Narrow(value);
  return true;
}

bool IsCSpace(char16_t unit) { return unit == u' ' || (unit >= u'\t' && unit <= u'\r'); }

// A hexadecimal number ("0x1.8p3") as one with at most seven significant
// digits, that is at least 25 bits (a float's 24 and the rounding bit), and
// a last digit 1 when anything that was cut is not zero (the sticky bit).
// strtod reads that exactly, so its one rounding to float is the right one.
// Neither reading the whole text with strtof (some C libraries round
// subnormals wrongly there) nor with strtod (two roundings once the digits
// outgrow a double) would be. None when text is not such a number.
std::optional<std::string> ShortHexFloat(std::string_view text) {
  std::size_t i = 0;
  std::string shortened;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) shortened += text[i++];
  if (text.substr(i, 2) != "0x" && text.substr(i, 2) != "0X") return std::nullopt;
  i += 2;
  const bool digitFirst = i < text.size() && HexDigit(text[i]) >= 0;
  const bool pointFirst = i + 1 < text.size() && text[i] == '.' && HexDigit(text[i + 1]) >= 0;
  if (!digitFirst && !pointFirst) return std::nullopt;  // "0x" alone is the number 0
  std::string digits;
  long long scale = 0;  // in hexadecimal digits
  bool afterPoint = false;
  bool cut = false;
  for (; i < text.size(); ++i) {
    if (text[i] == '.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    const int digit = HexDigit(text[i]);
    if (digit < 0) break;
    if (digits.empty() && digit == 0) {
      if (afterPoint) --scale;
    } else if (digits.size() < 7) {
      digits += text[i];
      if (afterPoint) --scale;
    } else {
      if (!afterPoint) ++scale;
      cut = cut || digit != 0;
    }
  }
  if (cut) {
    digits += '1';
    --scale;
  }
  long long exponent = 0;
  if (i + 1 < text.size() && (text[i] == 'p' || text[i] == 'P')) {
    std::size_t j = i + 1;
    const bool negative = text[j] == '-';
    if (text[j] == '+' || text[j] == '-') ++j;
    if (j < text.size() && text[j] >= '0' && text[j] <= '9') {
      for (; j < text.size() && text[j] >= '0' && text[j] <= '9'; ++j)
        exponent = std::min(exponent * 10 + (text[j] - '0'), 1'000'000LL);
      if (negative) exponent = -exponent;
    }
  }
  if (digits.empty()) digits = "0";
  // Far outside the float range either way; kept small for strtod.
  const long long binary = std::clamp(4 * scale + exponent, -100'000LL, 100'000LL);
  return shortened + "0x" + digits + "p" + std::to_string(binary);
}

}  // namespace

std::optional<std::u16string> FormatValueText(const Node::Value& value) {
  const auto type = static_cast<unsigned>(value.type);
  char buffer[kNumberTextCapacity];
  int length = -1;
  switch (value.type) {
    case ValueType::Float:
      length = std::snprintf(buffer, sizeof buffer, "%u: %f", type,
                             static_cast<double>(value.floatValue));
      break;
    case ValueType::Int:
      length = std::snprintf(buffer, sizeof buffer, "%u: %i", type, value.intValue);
      break;
    case ValueType::String:
      if (kPrefixLength + value.stringValue.size() > kValueTextCapacity) return std::nullopt;
      return u"3: " + value.stringValue;
    default:
      return std::nullopt;
  }
  if (length < 0 || static_cast<std::size_t>(length) >= sizeof buffer) return std::nullopt;
  std::string text(buffer, static_cast<std::size_t>(length));
  if (const std::size_t point = text.find(LocalePoint()); point != std::string::npos)
    text.replace(point, LocalePoint().size(), ".");
  return AsciiToUtf16(text);
}

std::optional<ValueText> SplitValueText(std::u16string_view text) {
  if (text.size() < kPrefixLength || text[0] < u'1' || text[0] > u'3' || text[1] != u':' ||
      text[2] != u' ')
    return std::nullopt;
  return ValueText{static_cast<ValueType>(text[0] - u'0'), text.substr(kPrefixLength)};
}

std::u16string_view LoadedValue(std::u16string_view body) {
  while (!body.empty() && IsCSpace(body.front())) body.remove_prefix(1);
  return body.substr(0, body.find(u'\t'));
}

bool ReadIntText(std::u16string_view text, std::int32_t& number) {
  // strtoll with base 0 is "%i"; a leading blank never reaches it here.
  if (!text.empty() && IsCSpace(text.front())) return false;
  return ReadLong(text, 0, number);
}

bool ReadFloatText(std::u16string_view text, float& number) {
  if (!text.empty() && IsCSpace(text.front())) return false;
  const std::string ascii = AsciiPrefix(text);
  if (const std::optional<std::string> hex = ShortHexFloat(ascii)) {
    number = static_cast<float>(std::strtod(hex->c_str(), nullptr));
    return true;
  }
  std::string decimal = WithoutBareHexPrefix(ascii);
  if (const std::size_t point = decimal.find('.'); point != std::string::npos)
    decimal.replace(point, 1, LocalePoint());
  char* end = nullptr;
  const float value = std::strtof(decimal.c_str(), &end);
  if (end == decimal.c_str()) return false;
  number = value;
  return true;
}

std::int32_t MonitorIndexFromValueText(std::u16string_view text) {
  if (text.size() < 2) return 0;
  std::int32_t index = 0;
  ReadLong(text.substr(2), 10, index);
  return index;
}

}  // namespace glimmer
