#include "playlist/file_dialog.h"

#include <optional>

namespace glimmer {
namespace {

// The next NUL-ended part of buffer from position on; none when the buffer
// ends before its NUL.
std::optional<std::u16string_view> PartAt(std::u16string_view buffer, std::size_t& position) {
  if (position >= buffer.size()) return std::nullopt;
  const std::size_t end = buffer.find(u'\0', position);
  if (end == std::u16string_view::npos) return std::nullopt;
  const std::u16string_view part = buffer.substr(position, end - position);
  position = end + 1;
  return part;
}

}  // namespace

std::vector<FileFilter> BuildFilterList(const TextCatalog& catalog) {
  // The first pattern list in the display text has a comma where the others
  // have semicolons; users have always seen it so.
  return {
      {catalog.Translate(u"All supported files") +
           u" (*.m3u,*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid)",
       u"*.m3u;*.pls;*.mp3;*.wma;*.aac;*.ogg;*.flac;*.wav;*.mid"},
      {catalog.Translate(u"Playlist Files") + u" (*.m3u,*.pls)", u"*.m3u;*.pls"},
      {u"MP3 (*.mp3)", u"*.mp3"},
      {u"Windows Media Audio (*.wma)", u"*.wma"},
      {u"Advanced Audio Coding (*.aac)", u"*.aac"},
      {u"Ogg Vorbis (*.ogg)", u"*.ogg"},
      {u"FLAC (*.flac)", u"*.flac"},
      {u"Windows Audio File (*.wav)", u"*.wav"},
      {u"MIDI File (*.mid)", u"*.mid"},
  };
}

std::u16string JoinFilterList(const std::vector<FileFilter>& filters) {
  std::u16string joined;
  for (const FileFilter& filter : filters) {
    joined += filter.display;
    joined += u'\0';
    joined += filter.pattern;
    joined += u'\0';
  }
  joined += u'\0';
  return joined;
}

std::vector<std::u16string> ParseOpenFileResult(std::u16string_view buffer) {
  std::vector<std::u16string> paths;
  std::size_t position = 0;
  const auto first = PartAt(buffer, position);
  if (!first || first->empty()) return paths;
  auto name = PartAt(buffer, position);
  if (!name || name->empty()) {
    paths.emplace_back(*first);
    return paths;
  }
  std::u16string folder(*first);
  if (folder.back() != u'\\') folder += u'\\';
  for (; name && !name->empty(); name = PartAt(buffer, position)) {
    paths.push_back(folder);
    paths.back() += *name;
  }
  return paths;
}

}  // namespace glimmer
