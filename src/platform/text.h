// Text helpers shared by the whole core. Every text, key, path and registry name
// is UTF-16 (std::u16string); UTF-8 appears only at ToUtf8 / FromUtf8.
#pragma once

#include <string>
#include <string_view>

namespace glimmer {

// UTF-16 to UTF-8. The text ends at its first NUL; an unpaired surrogate
// becomes U+FFFD, as the platform's own conversion does.
std::string ToUtf8(std::u16string_view wide);

// UTF-8 to UTF-16. The text ends at its first NUL; every ill-formed sequence
// becomes U+FFFD.
std::u16string FromUtf8(std::string_view bytes);

// ASCII-only widening for literals and numbers built in the C locale.
std::u16string AsciiToUtf16(std::string_view ascii);

// path up to and including its last backslash; "" when it has none. Forward
// slashes do not count.
std::u16string FolderOfPath(std::u16string_view path);

}  // namespace glimmer
