#include "i18n/format.h"

#include <charconv>
#include <optional>
#include <vector>

#include "i18n/text_catalog.h"

namespace glimmer {

namespace {

// Generous for any label, small enough that no format can ask for a huge text.
constexpr int kMaxPrecision = 32;

struct Directive {
  char16_t conversion = 0;  // 's', 'i' (also for %d) or 'u'
  int precision = -1;       // -1: none given
  bool operator==(const Directive&) const = default;
};

struct Piece {
  std::u16string_view literal;
  std::optional<Directive> directive;
};

std::optional<std::vector<Piece>> Parse(std::u16string_view format) {
  std::vector<Piece> pieces;
  std::size_t i = 0;
  while (i < format.size()) {
    const std::size_t percent = format.find(u'%', i);
    if (percent == std::u16string_view::npos) {
      pieces.push_back({format.substr(i), std::nullopt});
      break;
    }
    if (percent > i) pieces.push_back({format.substr(i, percent - i), std::nullopt});
    i = percent + 1;
    if (i < format.size() && format[i] == u'%') {
      pieces.push_back({format.substr(i, 1), std::nullopt});
      ++i;
      continue;
    }
    Directive directive;
    if (i < format.size() && format[i] == u'.') {
      ++i;
      directive.precision = 0;  // "%.i" means precision 0, as in C
      while (i < format.size() && format[i] >= u'0' && format[i] <= u'9') {
        directive.precision = directive.precision * 10 + (format[i] - u'0');
        if (directive.precision > kMaxPrecision) return std::nullopt;
        ++i;
      }
    }
    const bool isLong = i < format.size() && format[i] == u'l';
    if (isLong) ++i;
    if (i >= format.size()) return std::nullopt;
    switch (format[i]) {
      case u's':
        if (isLong || directive.precision >= 0) return std::nullopt;
        directive.conversion = u's';
        break;
      case u'i':
      case u'd':
        directive.conversion = u'i';
        break;
      case u'u':
        directive.conversion = u'u';
        break;
      default:
        return std::nullopt;
    }
    ++i;
    pieces.push_back({{}, directive});
  }
  return pieces;
}

std::optional<std::vector<Directive>> Directives(std::u16string_view format) {
  const auto pieces = Parse(format);
  if (!pieces) return std::nullopt;
  std::vector<Directive> directives;
  for (const Piece& piece : *pieces) {
    if (piece.directive) directives.push_back(*piece.directive);
  }
  return directives;
}

// printf's rules: at least precision digits (1 when none is given), and
// nothing at all for 0 with precision 0.
std::u16string Digits(std::uint64_t value, int precision) {
  if (precision < 0) precision = 1;
  if (value == 0 && precision == 0) return {};
  char buffer[24];
  const auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  const auto length = static_cast<int>(end - buffer);
  std::u16string digits(length < precision ? precision - length : 0, u'0');
  digits.append(buffer, end);
  return digits;
}

}  // namespace

std::u16string FormatArg::AsSigned(int precision) const {
  if (!signed_ || signedValue_ >= 0) return Digits(unsignedValue_, precision);
  // The magnitude through unsigned arithmetic, so INT64_MIN needs no special case.
  return u'-' + Digits(0 - static_cast<std::uint64_t>(signedValue_), precision);
}

std::u16string FormatArg::AsUnsigned(int precision) const {
  if (signed_ && signedValue_ < 0) {
    return Digits(static_cast<std::uint32_t>(signedValue_), precision);
  }
  return Digits(unsignedValue_, precision);
}

std::u16string FormatText(std::u16string_view format, std::initializer_list<FormatArg> args) {
  const auto pieces = Parse(format);
  if (!pieces) return std::u16string(format);
  std::u16string result;
  const FormatArg* arg = args.begin();
  for (const Piece& piece : *pieces) {
    if (!piece.directive) {
      result += piece.literal;
      continue;
    }
    if (arg == args.end()) return std::u16string(format);
    const Directive& directive = *piece.directive;
    if (arg->IsText() != (directive.conversion == u's')) return std::u16string(format);
    if (directive.conversion == u's') {
      result += arg->Text();
    } else if (directive.conversion == u'u') {
      result += arg->AsUnsigned(directive.precision);
    } else {
      result += arg->AsSigned(directive.precision);
    }
    ++arg;
  }
  if (arg != args.end()) return std::u16string(format);
  return result;
}

bool HaveSamePlaceholders(std::u16string_view first, std::u16string_view second) {
  const auto a = Directives(first);
  const auto b = Directives(second);
  return a && b && *a == *b;
}

std::u16string FormatTranslated(const TextCatalog& catalog, std::u16string_view key,
                                std::initializer_list<FormatArg> args) {
  const std::u16string translated = catalog.Translate(key);
  return FormatText(HaveSamePlaceholders(translated, key) ? std::u16string_view(translated) : key,
                    args);
}

}  // namespace glimmer
