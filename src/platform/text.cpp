#include "platform/text.h"

namespace glimmer {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp < 0x10000) {
    out.push_back(static_cast<char16_t>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  }
}

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

std::string ToUtf8(std::u16string_view wide) {
  std::string out;
  out.reserve(wide.size());
  for (size_t i = 0; i < wide.size(); ++i) {
    char32_t unit = wide[i];
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
        wide[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (wide[i + 1] - 0xDC00));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, unit);
    }
  }
  return out;
}

std::u16string FromUtf8(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    if (lead == 0) break;
    if (lead < 0x80) {
      out.push_back(lead);
      ++i;
      continue;
    }
    // Decode by maximal subpart: a broken sequence yields one U+FFFD and the
    // next byte is looked at afresh.
    size_t length = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, cp = lead & 0x07, min = 0x10000;
    }
    size_t used = 1;
    bool ok = length != 0;
    while (ok && used < length) {
      if (i + used >= bytes.size() ||
          !IsContinuation(static_cast<unsigned char>(bytes[i + used]))) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (static_cast<unsigned char>(bytes[i + used]) & 0x3F);
      ++used;
      // Reject overlong, surrogate and out-of-range forms as soon as the second byte tells.
      if (used == 2 && length >= 3) {
        const char32_t top = cp << (6 * (length - 2));
        if (top < min || (top >= 0xD800 && top <= 0xDFFF) || top > 0x10FFFF) {
          ok = false;
          --used;
        }
      }
    }
    if (ok && cp >= min) {
      AppendUtf16(out, cp);
      i += length;
    } else {
      out.push_back(static_cast<char16_t>(kReplacement));
      i += used;
    }
  }
  return out;
}

std::u16string AsciiToUtf16(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

std::u16string FolderOfPath(std::u16string_view path) {
  const std::size_t last = path.rfind(u'\\');
  return last == std::u16string_view::npos ? std::u16string()
                                           : std::u16string(path.substr(0, last + 1));
}

}  // namespace glimmer
