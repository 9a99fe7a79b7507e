// What the editor gives the file-open dialog and what it makes of the answer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "i18n/text_catalog.h"

namespace glimmer {

// OPENFILENAMEW flags the editor sets.
inline constexpr std::uint32_t kOfnAllowMultiSelect = 0x00000200;
inline constexpr std::uint32_t kOfnPathMustExist = 0x00000800;
inline constexpr std::uint32_t kOfnFileMustExist = 0x00001000;
inline constexpr std::uint32_t kOfnExplorer = 0x00080000;
inline constexpr std::uint32_t kAddFilesFlags =
    kOfnExplorer | kOfnAllowMultiSelect | kOfnFileMustExist | kOfnPathMustExist;

// CommDlgExtendedError's code when the chosen names do not fit the buffer.
inline constexpr std::uint32_t kFnErrBufferTooSmall = 0x3003;

// The result buffer, in characters, NUL included.
inline constexpr std::size_t kOpenFileBufferLength = 65535;

struct FileFilter {
  std::u16string display;
  std::u16string pattern;
  friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// The filter list in the order shown, the first selected when the dialog
// opens; the two first display texts are translated.
std::vector<FileFilter> BuildFilterList(const TextCatalog& catalog);

// lpstrFilter's form: display text and pattern of each pair, each ended by a
// NUL, and one more NUL after the last pair.
std::u16string JoinFilterList(const std::vector<FileFilter>& filters);

// The chosen paths from the dialog's result buffer: one full path, or a folder
// followed by names (each ended by a NUL, the list by an empty name), which
// become the folder, a backslash unless it already ends with one, and the
// name. A part that runs to the end of the buffer without its NUL is cut off
// and dropped.
std::vector<std::u16string> ParseOpenFileResult(std::u16string_view buffer);

}  // namespace glimmer
