// The playlist's text forms: the saved "PlayList" value (paths, each followed
// by a line feed) and the M3U files the user adds.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_port.h"
#include "platform/ports.h"
#include "platform/product.h"

namespace glimmer {

// Appends to entries the paths that text names, line by line: base + line
// when that exists, else line alone when that exists. Empty lines and lines
// starting with "#" are skipped; nothing is trimmed. True when entries is not
// empty afterwards.
bool ParsePlaylistText(SystemPort& system, std::u16string_view base, std::u16string_view text,
                       std::vector<std::u16string>& entries);

// Appends the entries of the M3U file at path, relative lines taken against
// the file's own folder. Lines are read byte for byte (ISO 8859-1); a line
// that so names nothing is tried again as UTF-8 and in the ANSI code page. A
// file that cannot be opened adds nothing.
void LoadPlaylistFile(SystemPort& system, FilePort& files, std::u16string_view path,
                      std::vector<std::u16string>& entries);

// The saved form: every entry followed by one line feed, the last one too.
std::u16string JoinPlaylist(const std::vector<std::u16string>& entries);

// True when the last three characters are exactly "m3u" (case matters).
bool IsM3uName(std::u16string_view path);

// True when bytes are well-formed UTF-8: no overlong forms, no surrogates,
// nothing above U+10FFFF.
bool IsValidUtf8(std::string_view bytes);

}  // namespace glimmer
