// The registry form of a Node: one key per node, one REG_SZ value text
// ("1: 0.500000", "2: 15", "3: de") per number or string, one subkey per subtree.
#include <algorithm>
#include <bit>
#include <charconv>
#include <cstddef>
#include <cstdint>
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

// Exact conversions between floats and their texts, without the standard
// library's floating-point formatting and parsing (which would multiply the
// size of the shell) and without the C library's locale-dependent ones.

// An unsigned integer of fixed capacity, large enough for every product the
// conversions form: decimal texts keep at most kMaxDecimalDigits digits, and
// numbers far outside the float range are settled before any arithmetic.
class BigNumber {
 public:
  explicit BigNumber(std::uint64_t value = 0) {
    limbs_[0] = static_cast<std::uint32_t>(value);
    limbs_[1] = static_cast<std::uint32_t>(value >> 32);
    used_ = limbs_[1] ? 2 : limbs_[0] ? 1 : 0;
  }

  bool IsZero() const { return used_ == 0; }

  int BitLength() const {
    if (used_ == 0) return 0;
    return (used_ - 1) * 32 + std::bit_width(limbs_[used_ - 1]);
  }

  // this = this * factor + addend
  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
    std::uint64_t carry = addend;
    for (int i = 0; i < used_; ++i) {
      carry += std::uint64_t{limbs_[i]} * factor;
      limbs_[i] = static_cast<std::uint32_t>(carry);
      carry >>= 32;
    }
    if (carry != 0 && used_ < kLimbs) limbs_[used_++] = static_cast<std::uint32_t>(carry);
  }

  void ShiftLeft(int bits) {
    if (used_ == 0) return;
    const int words = bits / 32;
    const int rest = bits % 32;
    const int top = std::min(used_ + words + 1, kLimbs);
    for (int i = top - 1; i >= 0; --i) {
      const int from = i - words;
      std::uint32_t value = 0;
      if (from >= 0 && from < used_) value = limbs_[from] << rest;
      if (rest != 0 && from - 1 >= 0 && from - 1 < used_) value |= limbs_[from - 1] >> (32 - rest);
      limbs_[i] = value;
    }
    used_ = top;
    Trim();
  }

  void ShiftRightByOne() {
    for (int i = 0; i < used_; ++i)
      limbs_[i] = (limbs_[i] >> 1) | (i + 1 < used_ ? limbs_[i + 1] << 31 : 0);
    Trim();
  }

  // this /= divisor; returns the remainder.
  std::uint32_t DivideBy(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (int i = used_ - 1; i >= 0; --i) {
      const std::uint64_t part = (remainder << 32) | limbs_[i];
      limbs_[i] = static_cast<std::uint32_t>(part / divisor);
      remainder = part % divisor;
    }
    Trim();
    return static_cast<std::uint32_t>(remainder);
  }

  int Compare(const BigNumber& other) const {
    if (used_ != other.used_) return used_ < other.used_ ? -1 : 1;
    for (int i = used_ - 1; i >= 0; --i)
      if (limbs_[i] != other.limbs_[i]) return limbs_[i] < other.limbs_[i] ? -1 : 1;
    return 0;
  }

  // this -= other, which is not larger.
  void Subtract(const BigNumber& other) {
    std::int64_t borrow = 0;
    for (int i = 0; i < used_; ++i) {
      std::int64_t difference = std::int64_t{limbs_[i]} - borrow;
      if (i < other.used_) difference -= other.limbs_[i];
      borrow = difference < 0 ? 1 : 0;
      limbs_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
    }
    Trim();
  }

 private:
  static constexpr int kLimbs = 28;  // 896 bits; the largest product needs about 590

  void Trim() {
    while (used_ > 0 && limbs_[used_ - 1] == 0) --used_;
  }

  std::uint32_t limbs_[kLimbs] = {};
  int used_ = 0;
};

constexpr int kFloatMantissaBits = 24;
constexpr int kFloatMinExponent = -149;  // of the smallest subnormal's one bit
constexpr int kFloatMaxBiasedExponent = 255;

// The float nearest to numerator / denominator * 2^exponent, ties to even; both
// numbers are not zero, and the quotient lies within 2^-160 and 2^140.
float RoundToFloat(const BigNumber& numerator, const BigNumber& denominator, int exponent) {
  const int estimate = numerator.BitLength() - denominator.BitLength() + exponent;
  // The value lies strictly between 2^(estimate - 1) and 2^(estimate + 1).
  if (estimate - 1 >= 128) return std::numeric_limits<float>::infinity();
  if (estimate + 1 <= kFloatMinExponent - 1) return 0.0f;
  int scale = std::max(estimate - kFloatMantissaBits, kFloatMinExponent);
  std::uint32_t mantissa = 0;
  BigNumber remainder;
  BigNumber divisor;
  for (;;) {
    remainder = numerator;
    divisor = denominator;
    const int shift = exponent - scale;
    if (shift >= 0) {
      remainder.ShiftLeft(shift);
    } else {
      divisor.ShiftLeft(-shift);
    }
    // The quotient is below 2^25 by the choice of scale.
    mantissa = 0;
    BigNumber part = divisor;
    part.ShiftLeft(kFloatMantissaBits + 1);
    for (int bit = kFloatMantissaBits + 1; bit >= 0; --bit) {
      if (remainder.Compare(part) >= 0) {
        remainder.Subtract(part);
        mantissa |= 1u << bit;
      }
      part.ShiftRightByOne();
    }
    if (mantissa < (1u << kFloatMantissaBits)) break;
    ++scale;  // one bit too many: the estimate was low
  }
  remainder.ShiftLeft(1);
  const int half = remainder.Compare(divisor);
  if (half > 0 || (half == 0 && (mantissa & 1) != 0)) ++mantissa;
  if (mantissa == (1u << kFloatMantissaBits)) {
    mantissa >>= 1;
    ++scale;
  }
  std::uint32_t bits = mantissa;  // a subnormal, scale being the smallest
  if (mantissa >= (1u << (kFloatMantissaBits - 1))) {
    const int biased = scale - kFloatMinExponent + 1;
    if (biased >= kFloatMaxBiasedExponent) return std::numeric_limits<float>::infinity();
    bits = (static_cast<std::uint32_t>(biased) << (kFloatMantissaBits - 1)) |
           (mantissa & ((1u << (kFloatMantissaBits - 1)) - 1));
  }
  return std::bit_cast<float>(bits);
}

// The "%f" text of value (six decimals, exact, ties to even) written from out
// up to last; null when it does not fit.
char* FormatFixed6(float value, char* out, char* last) {
  const auto bits = std::bit_cast<std::uint32_t>(value);
  const std::uint32_t fraction = bits & 0x7FFFFF;
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  char digits[kNumberTextCapacity];
  std::size_t length = 0;
  auto put = [&](const char* text) {
    while (*text != 0) digits[length++] = *text++;
  };
  if ((bits >> 31) != 0) put("-");
  if (biased == kFloatMaxBiasedExponent) {
    put(fraction != 0 ? "nan" : "inf");
  } else {
    const std::uint64_t mantissa = biased != 0 ? fraction | 0x800000 : fraction;
    const int exponent = biased != 0 ? biased - 150 : kFloatMinExponent;
    // value * 10^6 rounded to an integer, ties to even.
    std::uint64_t millionths = mantissa * 1'000'000;  // below 2^44
    BigNumber scaled;
    if (exponent >= 0) {
      scaled = BigNumber(millionths);
      scaled.ShiftLeft(exponent);
    } else {
      const int shift = -exponent;
      if (shift >= 64) {
        millionths = 0;  // less than half of one millionth
      } else {
        const std::uint64_t rest = millionths & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        millionths >>= shift;
        if (rest > half || (rest == half && (millionths & 1) != 0)) ++millionths;
      }
      scaled = BigNumber(millionths);
    }
    char reversed[kNumberTextCapacity];
    std::size_t count = 0;
    while (count < 8 || !scaled.IsZero()) {
      reversed[count++] = static_cast<char>('0' + scaled.DivideBy(10));
      if (count == 6) reversed[count++] = '.';
    }
    while (count > 0) digits[length++] = reversed[--count];
  }
  if (static_cast<std::ptrdiff_t>(length) > last - out) return nullptr;
  return std::copy(digits, digits + length, out);
}

// "%u: %f" or "%u: %i". Neither path looks at the locale, so the decimal
// point stays "." whatever the user's settings; "%f" is fixed with six digits.
bool FormatNumberText(const Node::Value& value, std::u16string& text) {
  char buffer[kNumberTextCapacity];
  char* const last = buffer + sizeof buffer - 1;  // keep the terminator's unit free
  char* out = buffer;
  *out++ = static_cast<char>('0' + static_cast<std::uint32_t>(value.type));
  *out++ = ':';
  *out++ = ' ';
  if (value.type == ValueType::Float) {
    out = FormatFixed6(value.floatValue, out, last);
    if (out == nullptr) return false;
  } else {
    const std::to_chars_result result = std::to_chars(out, last, value.intValue);
    if (result.ec != std::errc()) return false;
    out = result.ptr;
  }
  text = AsciiToUtf16(std::string_view(buffer, out - buffer));
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

constexpr int kMaxDecimalDigits = 120;  // enough to settle every tie between two floats
constexpr int kMaxHexDigits = 32;

// The exponent after a number: the marker, an optional sign and at least one
// decimal digit, saturated far beyond the float range. 0 when absent or
// incomplete, as the number then ends before the marker.
std::int64_t ReadExponent(std::u16string_view text, std::size_t i, char16_t marker) {
  if (i >= text.size() || (text[i] | 0x20) != marker) return 0;
  ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i >= text.size() || DigitValue(text[i]) >= 10) return 0;
  std::int64_t exponent = 0;
  for (; i < text.size() && DigitValue(text[i]) < 10; ++i)
    exponent = std::min<std::int64_t>(exponent * 10 + DigitValue(text[i]), 1'000'000);
  return negative ? -exponent : exponent;
}

// The digits of a number in base 10 or 16, with an optional point: at most
// limit significant digits, times base^scale. Dropped digits that are not
// zero add one more low digit 1, so the kept number stays above a tie that
// the whole number is above. False when there is no digit at all.
struct Digits {
  BigNumber value;
  int kept = 0;
  std::int64_t scale = 0;
};

bool ReadDigits(std::u16string_view text, std::size_t& i, int base, int limit, Digits& digits) {
  bool any = false;
  bool afterPoint = false;
  bool dropped = false;
  for (; i < text.size(); ++i) {
    if (text[i] == u'.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    const int digit = DigitValue(text[i]);
    if (digit >= base) break;
    any = true;
    if (digits.kept == 0 && digit == 0) {
      if (afterPoint) --digits.scale;
    } else if (digits.kept < limit) {
      digits.value.MultiplyAdd(base, digit);
      ++digits.kept;
      if (afterPoint) --digits.scale;
    } else {
      if (!afterPoint) ++digits.scale;
      dropped = dropped || digit != 0;
    }
  }
  if (dropped) {
    digits.value.MultiplyAdd(base, 1);
    ++digits.kept;
    --digits.scale;
  }
  return any;
}

bool ReadDecimalMagnitude(std::u16string_view text, float& magnitude) {
  std::size_t i = 0;
  Digits digits;
  if (!ReadDigits(text, i, 10, kMaxDecimalDigits, digits)) return false;
  magnitude = 0.0f;
  if (digits.value.IsZero()) return true;
  const std::int64_t power = digits.scale + ReadExponent(text, i, u'e');
  const std::int64_t leading = power + digits.kept - 1;  // of the first digit
  if (leading > 39) {
    magnitude = std::numeric_limits<float>::infinity();
  } else if (leading >= -47) {
    BigNumber numerator = digits.value;
    BigNumber denominator(1);
    for (std::int64_t p = power; p > 0; --p) numerator.MultiplyAdd(10, 0);
    for (std::int64_t p = power; p < 0; ++p) denominator.MultiplyAdd(10, 0);
    magnitude = RoundToFloat(numerator, denominator, 0);
  }
  return true;
}

bool ReadHexMagnitude(std::u16string_view text, float& magnitude) {
  std::size_t i = 0;
  Digits digits;
  if (!ReadDigits(text, i, 16, kMaxHexDigits, digits)) return false;
  magnitude = 0.0f;
  if (digits.value.IsZero()) return true;
  const std::int64_t exponent = digits.scale * 4 + ReadExponent(text, i, u'p');
  const std::int64_t leading = exponent + digits.value.BitLength() - 1;  // of the first bit
  if (leading > 140) {
    magnitude = std::numeric_limits<float>::infinity();
  } else if (leading >= -160) {
    magnitude = RoundToFloat(digits.value, BigNumber(1), static_cast<int>(exponent));
  }
  return true;
}

bool StartsWithWord(std::u16string_view text, std::u16string_view word) {
  if (text.size() < word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if ((text[i] | 0x20) != word[i]) return false;
  return true;
}

// "%f": optional sign, then a decimal or "0x" hexadecimal number with optional
// exponent, or inf, infinity or nan; the longest prefix that forms a number
// counts, rounded to the nearest float.
bool ReadFloat(std::u16string_view text, float& number) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  const std::u16string_view rest = text.substr(i);
  float magnitude = 0.0f;
  if (StartsWithWord(rest, u"inf")) {
    magnitude = std::numeric_limits<float>::infinity();
  } else if (StartsWithWord(rest, u"nan")) {
    magnitude = std::numeric_limits<float>::quiet_NaN();
  } else {
    const bool hex = rest.size() > 2 && rest[0] == u'0' && (rest[1] | 0x20) == u'x' &&
                     (DigitValue(rest[2]) < 16 ||
                      (rest[2] == u'.' && rest.size() > 3 && DigitValue(rest[3]) < 16));
    if (!(hex ? ReadHexMagnitude(rest.substr(2), magnitude)
              : ReadDecimalMagnitude(rest, magnitude)))
      return false;
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
