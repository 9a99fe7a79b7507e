#include "playlist/playlist_text.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/file_port.h"
#include "platform/system.h"
#include "platform/text.h"

namespace glimmer {
namespace {

constexpr std::uint32_t kReadChunk = 4096;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool IsSkipped(std::u16string_view line) { return line.empty() || line.front() == u'#'; }

// Appends base + candidate or else candidate when either exists. A path with a
// NUL names nothing: Windows would only see the part before it, and the entry
// could not be saved whole.
bool AppendIfExists(SystemPort& system, std::u16string_view base, std::u16string_view candidate,
                    std::vector<std::u16string>& entries) {
  if (candidate.find(u'\0') != std::u16string_view::npos) return false;
  std::u16string joined(base);
  joined += candidate;
  if (FileExists(system, joined)) {
    entries.push_back(std::move(joined));
    return true;
  }
  // With no base the first test already asked about this very path.
  if (!base.empty() && FileExists(system, candidate)) {
    entries.emplace_back(candidate);
    return true;
  }
  return false;
}

std::u16string Latin1(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size());
  for (const char byte : bytes) text.push_back(static_cast<unsigned char>(byte));
  return text;
}

bool IsAscii(std::string_view bytes) {
  for (const char byte : bytes)
    if (static_cast<unsigned char>(byte) >= 0x80) return false;
  return true;
}

// One line of an M3U file. Players of old wrote the system's ANSI code page,
// current ones write UTF-8; the product has always read bytes as ISO 8859-1,
// so that reading comes first and the others only rescue a line it loses.
void AddFileLine(SystemPort& system, FilePort& files, std::u16string_view base,
                 std::string_view bytes, std::vector<std::u16string>& entries) {
  const std::u16string latin1 = Latin1(bytes);
  if (IsSkipped(latin1) || AppendIfExists(system, base, latin1, entries)) return;
  // Every decoding of ASCII is the same text, and a NUL spoils them all.
  if (IsAscii(bytes) || bytes.find('\0') != std::string_view::npos) return;

  std::u16string utf8;
  if (IsValidUtf8(bytes)) {
    utf8 = FromUtf8(bytes);
    if (AppendIfExists(system, base, utf8, entries)) return;
  }
  std::u16string ansi;
  if (files.MultiByteToWideChar(kCpAcp, bytes, ansi) && ansi != latin1 && ansi != utf8)
    AppendIfExists(system, base, ansi, entries);
}

// Splits a file's bytes into lines as the C runtime's text mode reads them: CR
// LF becomes LF, a lone CR stays. Bytes arrive in chunks of any size.
class LineSplitter {
 public:
  LineSplitter(SystemPort& system, FilePort& files, std::u16string_view base,
               std::vector<std::u16string>& entries)
      : system_(system), files_(files), base_(base), entries_(entries) {
    line_.reserve(kMaxPlaylistLine + 1);
  }

  // False once a line was too long: the reading ends there.
  bool Feed(std::string_view bytes) {
    for (const char byte : bytes) {
      if (!FeedByte(byte)) return false;
    }
    return true;
  }
  void Finish() {
    if (stopped_) return;
    if (pendingCr_ && !Append('\r')) return;
    pendingCr_ = false;
    if (!line_.empty()) EndLine();
  }

 private:
  bool FeedByte(char byte) {
    if (stopped_) return false;
    if (pendingCr_) {
      pendingCr_ = false;
      if (byte == '\n') {
        EndLine();
        return true;
      }
      if (!Append('\r')) return false;
    }
    if (byte == '\r') {
      pendingCr_ = true;
    } else if (byte == '\n') {
      EndLine();
    } else if (!Append(byte)) {
      return false;
    }
    return true;
  }
  bool Append(char byte) {
    line_.push_back(byte);
    if (line_.size() > kMaxPlaylistLine) stopped_ = true;
    return !stopped_;
  }
  void EndLine() {
    AddFileLine(system_, files_, base_, line_, entries_);
    line_.clear();
  }

  SystemPort& system_;
  FilePort& files_;
  std::u16string_view base_;
  std::vector<std::u16string>& entries_;
  std::string line_;
  bool pendingCr_ = false;
  bool stopped_ = false;
};

}  // namespace

bool ParsePlaylistText(SystemPort& system, std::u16string_view base, std::u16string_view text,
                       std::vector<std::u16string>& entries) {
  while (!text.empty()) {
    const std::size_t end = text.find(u'\n');
    const std::u16string_view line = text.substr(0, end);
    if (line.size() > kMaxPlaylistLine) break;
    if (!IsSkipped(line)) AppendIfExists(system, base, line, entries);
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return !entries.empty();
}

void LoadPlaylistFile(SystemPort& system, FilePort& files, std::u16string_view path,
                      std::vector<std::u16string>& entries) {
  FileOwner file(files, files.OpenForReading(path));
  if (!file) return;

  const std::u16string base = FolderOfPath(path);
  LineSplitter lines(system, files, base, entries);
  std::array<std::uint8_t, kReadChunk> chunk;
  // The byte-order mark is recognised only whole and only at the very start,
  // so the first bytes are held back until three have come or the file ended.
  std::string head;
  bool headDone = false;
  for (;;) {
    std::uint32_t read = 0;
    if (!files.ReadFile(file.get(), chunk.data(), kReadChunk, read) || read == 0) break;
    std::string_view bytes(reinterpret_cast<const char*>(chunk.data()),
                           std::min<std::size_t>(read, kReadChunk));
    if (!headDone) {
      const std::size_t take = std::min(bytes.size(), kUtf8ByteOrderMark.size() - head.size());
      head.append(bytes.substr(0, take));
      bytes.remove_prefix(take);
      if (head.size() < kUtf8ByteOrderMark.size()) continue;
      headDone = true;
      if (head != kUtf8ByteOrderMark && !lines.Feed(head)) return;
    }
    if (!lines.Feed(bytes)) return;
  }
  if (!headDone && !lines.Feed(head)) return;
  lines.Finish();
}

std::u16string JoinPlaylist(const std::vector<std::u16string>& entries) {
  std::u16string joined;
  for (const std::u16string& entry : entries) {
    joined += entry;
    joined += u'\n';
  }
  return joined;
}

bool IsM3uName(std::u16string_view path) { return path.ends_with(u"m3u"); }

bool IsValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead < 0x80) {
      length = 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      if (lead == 0xE0) low = 0xA0;   // overlong
      if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      if (lead == 0xF0) low = 0x90;   // overlong
      if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (bytes.size() - i < length) return false;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) return false;
    }
    i += length;
  }
  return true;
}

}  // namespace glimmer
