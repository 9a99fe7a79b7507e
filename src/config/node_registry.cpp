// The registry form of a Node: one key per node, one REG_SZ value text
// ("1: 0.500000", "2: 15", "3: de") per number or string, one subkey per subtree.
#include <algorithm>
#include <charconv>
#include <limits>
#include <string>
#include <vector>

#include "config/node.h"
#include "platform/ports.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace glimmer {
namespace {

// A number's value text takes at most 50 units; this is its buffer with the terminator.
constexpr std::size_t kNumberTextCapacity = 64;
// What the loader can take: names of 2047 units, data of 4096 bytes.
constexpr std::uint32_t kNameCapacity = 2048;
constexpr std::uint32_t kDataCapacity = 4096;
constexpr std::uint32_t kClassCapacity = 200;
constexpr std::size_t kPrefixLength = 3;  // "1: "

std::uint32_t Rights(std::uint32_t base, bool use64BitView) {
  return use64BitView ? base | kKeyWow64_64Key : base;
}

std::u16string_view UpToNul(const char16_t* text, std::size_t length) {
  return std::u16string_view(text, std::find(text, text + length, u'\0') - text);
}

// "%u: %f" or "%u: %i". to_chars never looks at the locale, so the decimal
// point stays "." whatever the user's settings; "%f" is fixed with six digits.
bool FormatNumberText(const Node::Value& value, std::u16string& text) {
  char buffer[kNumberTextCapacity];
  char* const last = buffer + sizeof buffer - 1;  // keep the terminator's unit free
  char* out = buffer;
  *out++ = static_cast<char>('0' + static_cast<std::uint32_t>(value.type));
  *out++ = ':';
  *out++ = ' ';
  const std::to_chars_result result =
      value.type == ValueType::Float
          ? std::to_chars(out, last, static_cast<double>(value.floatValue),
                          std::chars_format::fixed, 6)
          : std::to_chars(out, last, value.intValue);
  if (result.ec != std::errc()) return false;
  text = AsciiToUtf16(std::string_view(buffer, result.ptr - buffer));
  return true;
}

// "%u: %s". A string of any length is written whole as long as the loader can
// read it back (4096 bytes of data); a longer one is refused rather than cut.
bool FormatStringText(const std::u16string& string, std::u16string& text) {
  if ((kPrefixLength + string.size()) * 2 > kDataCapacity) return false;
  text = u"3: ";
  text += string;
  return true;
}

bool IsCSpace(char16_t unit) { return unit == u' ' || (unit >= u'\t' && unit <= u'\r'); }

bool IsDecimalDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int DigitValue(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'z') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'Z') return unit - u'A' + 10;
  return 99;
}

// "%i": optional sign, then "0x" and hex digits, "0" and octal digits, or
// decimal digits, up to the first unit that does not fit. Out of range
// saturates at the int limits, as strtol with a 32-bit long does.
bool ReadInt(std::u16string_view text, std::int32_t& number) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int base = 10;
  if (i < text.size() && text[i] == u'0') {
    base = 8;  // the 0 counts as an octal digit, so "0x" without hex digits reads 0
    if (i + 2 < text.size() && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        DigitValue(text[i + 2]) < 16) {
      base = 16;
      i += 2;
    }
  }
  const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
  std::uint64_t magnitude = 0;
  bool any = false;
  for (; i < text.size() && DigitValue(text[i]) < base; ++i) {
    any = true;
    magnitude = std::min<std::uint64_t>(magnitude * base + DigitValue(text[i]), limit);
  }
  if (!any) return false;
  number = negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                    : static_cast<std::int32_t>(magnitude);
  return true;
}

// from_chars reports a number past the float range and one too small for it
// alike; the position of its leading digit plus its exponent tells them apart.
bool PastFloatRange(std::string_view matched, bool hex) {
  std::int64_t integerDigits = 0;
  std::int64_t fractionZeros = 0;
  bool nonzeroSeen = false;
  bool afterPoint = false;
  std::size_t i = 0;
  for (; i < matched.size(); ++i) {
    const char c = matched[i];
    if (c == '.') {
      afterPoint = true;
    } else if (!(hex ? IsHexDigit(c) : IsDecimalDigit(c))) {
      break;
    } else if (!afterPoint) {
      nonzeroSeen = nonzeroSeen || c != '0';
      if (nonzeroSeen) ++integerDigits;
    } else if (!nonzeroSeen) {
      nonzeroSeen = c != '0';
      if (!nonzeroSeen) ++fractionZeros;
    }
  }
  std::int64_t magnitude = integerDigits > 0 ? integerDigits - 1 : -(fractionZeros + 1);
  if (hex) magnitude *= 4;  // hex digits against a binary exponent
  std::int64_t exponent = 0;
  bool negativeExponent = false;
  if (++i < matched.size() && (matched[i] == '+' || matched[i] == '-'))
    negativeExponent = matched[i++] == '-';
  for (; i < matched.size() && IsDecimalDigit(matched[i]); ++i)
    exponent = std::min<std::int64_t>(exponent * 10 + (matched[i] - '0'), 1'000'000'000);
  return magnitude + (negativeExponent ? -exponent : exponent) > 0;
}

// "%f": optional sign, then a decimal or "0x" hexadecimal number with optional
// exponent, or inf, infinity or nan; the longest prefix that forms a number
// counts. from_chars never looks at the locale.
bool ReadFloat(std::u16string_view text, float& number) {
  std::string ascii;  // a number ends at the first unit outside ASCII anyway
  for (char16_t unit : text) {
    if (unit >= 0x80) break;
    ascii.push_back(static_cast<char>(unit));
  }
  std::string_view rest = ascii;
  bool negative = false;
  if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
    negative = rest[0] == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty() || rest[0] == '+' || rest[0] == '-') return false;
  const bool hex =
      rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X') &&
      (IsHexDigit(rest[2]) || (rest[2] == '.' && rest.size() > 3 && IsHexDigit(rest[3])));
  if (hex) rest.remove_prefix(2);
  float magnitude = 0.0f;
  const std::from_chars_result result =
      std::from_chars(rest.data(), rest.data() + rest.size(), magnitude,
                      hex ? std::chars_format::hex : std::chars_format::general);
  if (result.ec == std::errc::invalid_argument) return false;
  if (result.ec == std::errc::result_out_of_range) {
    magnitude = PastFloatRange(std::string_view(rest.data(), result.ptr - rest.data()), hex)
                    ? std::numeric_limits<float>::infinity()
                    : 0.0f;
  }
  number = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

bool Node::SaveToRegistry(RegKey parent, std::u16string_view path) const {
  RegistryPort& registry = Registry();
  RegKey created = 0;
  if (registry.CreateKey(parent, path, Rights(kKeySetValue, use64BitView), created) !=
      kErrorSuccess)
    return false;
  RegKeyOwner key(registry, created);

  for (const auto& [name, value] : children) {
    std::u16string text;
    switch (value.type) {
      case ValueType::Subtree:
        if (const Node* child = value.AsSubtree(); child && !child->SaveToRegistry(key.get(), name))
          return false;
        continue;
      case ValueType::Float:
      case ValueType::Int:
        if (!FormatNumberText(value, text)) return false;
        break;
      case ValueType::String:
        // An empty string leaves a value of that name as it is in the registry.
        if (value.stringValue.empty()) continue;
        if (!FormatStringText(value.stringValue, text)) return false;
        break;
      default:
        continue;
    }
    const std::vector<std::uint8_t> bytes = RegistryBytesFromText(text);
    if (registry.SetValue(key.get(), name, kRegSz, bytes.data(),
                          static_cast<std::uint32_t>(bytes.size())) != kErrorSuccess)
      return false;
  }

  registry.FlushKey(key.get());
  key.Close();
  return true;
}

bool Node::LoadFromRegistry(RegKey parent, std::u16string_view path) {
  RegistryPort& registry = Registry();
  RegKey opened = 0;
  if (registry.OpenKey(parent, path, Rights(kKeyRead, use64BitView), opened) != kErrorSuccess)
    return false;
  RegKeyOwner key(registry, opened);

  char16_t className[kClassCapacity] = {};
  std::uint32_t classLength = kClassCapacity;
  std::uint32_t valueCount = 0;
  if (registry.QueryInfoKey(key.get(), className, &classLength, &valueCount) != kErrorSuccess)
    return false;

  std::vector<char16_t> name(kNameCapacity);
  for (std::uint32_t index = 0;
       registry.EnumKey(key.get(), index, name.data(), kNameCapacity) == kErrorSuccess; ++index) {
    const std::u16string_view subkeyName = UpToNul(name.data(), kNameCapacity);
    // A name with "/" is a path; one that runs through a number or string is
    // skipped so that the rest of the key still loads.
    Value* slot = Lookup(subkeyName);
    if (!slot) continue;
    if (!slot->AsSubtree()) *slot = Value(std::make_unique<Node>());
    if (!slot->AsSubtree()->LoadFromRegistry(key.get(), subkeyName)) return false;
  }

  std::vector<std::uint8_t> data(kDataCapacity);
  // One number per type for the whole key: a text without a number stores
  // the last one read before it.
  float lastFloat = 0.0f;
  std::int32_t lastInt = 0;
  for (std::uint32_t index = 0; index < valueCount; ++index) {
    std::uint32_t nameLength = kNameCapacity;
    std::uint32_t type = 0;
    std::uint32_t dataSize = kDataCapacity;
    if (registry.EnumValue(key.get(), index, name.data(), &nameLength, &type, data.data(),
                           &dataSize) != kErrorSuccess)
      continue;
    const std::u16string_view valueName =
        UpToNul(name.data(), std::min(nameLength, kNameCapacity - 1));
    // Whole code units only: an odd last byte is not part of the text.
    const std::u16string text =
        TextFromRegistryBytes(data.data(), std::min(dataSize, kDataCapacity) & ~1u);
    if (text.size() < kPrefixLength || text[0] < u'1' || text[0] > u'3' || text[1] != u':' ||
        text[2] != u' ')
      continue;

    // The value text starts after the blanks that follow the colon and ends
    // at the first TAB.
    std::u16string_view valueText = std::u16string_view(text).substr(kPrefixLength);
    while (!valueText.empty() && IsCSpace(valueText.front())) valueText.remove_prefix(1);
    valueText = valueText.substr(0, valueText.find(u'\t'));

    Value loaded;
    switch (text[0]) {
      case u'1':
        ReadFloat(valueText, lastFloat);
        loaded = Value(lastFloat);
        break;
      case u'2':
        ReadInt(valueText, lastInt);
        loaded = Value(lastInt);
        break;
      default:
        loaded = Value(std::u16string(valueText));
        break;
    }
    if (Value* slot = Lookup(valueName)) *slot = std::move(loaded);
  }

  key.Close();
  return true;
}

}  // namespace glimmer
