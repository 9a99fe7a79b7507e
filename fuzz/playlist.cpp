// Arbitrary bytes as the saved playlist text or as an M3U file, read in
// chunks of any size against a file system where some readings of some lines
// exist. Every entry must come from a line of its own, in line order, as the
// line itself or the base folder and the line, in one of the encodings the
// reader may use; no handle may stay open.
//
// Input layout: the text or file bytes first, then (from the end) the choice
// of reader, the ANSI code page, the chunk size and a mask of what exists.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "fakes/fake_files.h"
#include "platform/ports.h"
#include "platform/text.h"
#include "playlist/playlist_text.h"

namespace glimmer {
namespace {

constexpr std::u16string_view kBase = u"C:\\Music\\";
constexpr std::u16string_view kM3uPath = u"C:\\Music\\list.m3u";

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Only path existence matters here; a hashed set keeps each run cheap.
class ExistingPaths : public SystemPort {
 public:
  std::unordered_set<std::u16string> paths;

  std::uint32_t GetFileAttributes(std::u16string_view path) override {
    return paths.count(std::u16string(path)) ? 0x20u : kInvalidFileAttributes;
  }
  bool Kernel32HasEntry(std::string_view) override { return false; }
  bool IsWow64Process(bool&) override { return false; }
  bool ReadTimeStampCounter(std::uint64_t&) override { return false; }
  bool QueryPerformanceFrequency(std::int64_t&) override { return false; }
  bool QueryPerformanceCounter(std::int64_t&) override { return false; }
  bool GetSpecialFolderPath(int, std::u16string&) override { return false; }
  bool GetCurrentDirectory(std::u16string&) override { return false; }
  bool Is64BitProcess() override { return false; }
};

// The text reader sees UTF-16: widen bytes through an alphabet that holds the
// characters the parser cares about, a NUL, non-ASCII text and surrogates.
std::u16string Widen(std::string_view bytes) {
  using namespace std::literals;
  static constexpr auto kAlphabet = u"ab.\\/:#\n\r \t\0\u00e9\u0416\uFFFD"sv;
  std::u16string text;
  for (const char byte : bytes) {
    const std::size_t index = static_cast<unsigned char>(byte) % (kAlphabet.size() + 3);
    if (index < kAlphabet.size()) {
      text.push_back(kAlphabet[index]);
    } else if (index == kAlphabet.size()) {
      // A long run of one letter now and then, to reach the line limit; a
      // few are enough, and more would only slow every run down.
      if (text.size() < 3 * kMaxPlaylistLine) text.append(kMaxPlaylistLine - 8, u'x');
    } else {
      // Unpaired surrogates cannot be written in a literal.
      text.push_back(index == kAlphabet.size() + 1 ? 0xD800 : 0xDC00);
    }
  }
  return text;
}

// Every reading of one line that the reader may try.
struct Line {
  std::vector<std::u16string> readings;
};

// The lines of an M3U file as the C runtime's text mode gives them, written
// independently of the reader: the whole file at once.
std::vector<Line> FileLines(std::string bytes, fakes::FakeFiles& files) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    text.push_back(bytes[i]);
  }
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line(text.data() + start, end - start);
    if (line.size() > kMaxPlaylistLine) break;
    Line readings;
    std::u16string latin1;
    latin1.reserve(line.size());
    for (const char byte : line) latin1.push_back(static_cast<unsigned char>(byte));
    readings.readings.push_back(latin1);
    if (IsValidUtf8(line)) readings.readings.push_back(FromUtf8(line));
    std::u16string ansi;
    if (files.MultiByteToWideChar(kCpAcp, line, ansi)) readings.readings.push_back(ansi);
    lines.push_back(std::move(readings));
    start = end + 1;
  }
  return lines;
}

std::vector<Line> TextLines(std::u16string_view text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = std::min(text.find(u'\n', start), text.size());
    if (end - start > kMaxPlaylistLine) break;
    lines.push_back({{std::u16string(text.substr(start, end - start))}});
    start = end + 1;
  }
  return lines;
}

// Makes some readings exist, as the line alone or below the base folder.
void MakeSomeExist(const std::vector<Line>& lines, std::uint64_t mask, ExistingPaths& system) {
  std::size_t bit = 0;
  for (const Line& line : lines) {
    for (const std::u16string& reading : line.readings) {
      if (mask >> (bit++ % 64) & 1) system.paths.insert(reading);
      if (mask >> (bit++ % 64) & 1) system.paths.insert(std::u16string(kBase) + reading);
    }
  }
}

bool ComesFrom(const std::u16string& entry, const Line& line, std::u16string_view base) {
  // Empty lines and comments give nothing, in any reading.
  const std::u16string& first = line.readings.front();
  if (first.empty() || first.front() == u'#') return false;
  for (const std::u16string& reading : line.readings) {
    if (entry == reading) return true;
    // entry == base + reading, without building the joined text.
    if (entry.size() == base.size() + reading.size() && entry.starts_with(base) &&
        entry.ends_with(reading))
      return true;
  }
  return false;
}

void CheckEntries(const std::vector<std::u16string>& entries, const std::vector<Line>& lines,
                  std::u16string_view base) {
  std::size_t next = 0;
  for (const std::u16string& entry : entries) {
    Check(entry.find(u'\0') == std::u16string::npos);
    Check(!entry.empty());
    while (next < lines.size() && !ComesFrom(entry, lines[next], base)) ++next;
    Check(next < lines.size());
    ++next;  // one entry per line at most
  }
}

}  // namespace
}  // namespace glimmer

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glimmer;
  FuzzedDataProvider in(data, size);
  const bool asFile = in.ConsumeBool();
  const std::uint32_t codePage = in.ConsumeBool() ? 1251 : 1252;
  const auto chunk = in.ConsumeIntegralInRange<std::uint32_t>(0, 9);
  const auto mask = in.ConsumeIntegral<std::uint64_t>();
  const std::string bytes = in.ConsumeRemainingBytesAsString();

  ExistingPaths system;
  fakes::FakeFiles files;
  files.ansiCodePage = codePage;
  files.readChunk = chunk;

  std::vector<std::u16string> entries;
  if (asFile) {
    const std::vector<Line> lines = FileLines(bytes, files);
    MakeSomeExist(lines, mask, system);
    files.Put(kM3uPath, bytes);
    LoadPlaylistFile(system, files, kM3uPath, entries);
    CheckEntries(entries, lines, FolderOfPath(kM3uPath));
    Check(files.OpenHandleCount() == 0);
  } else {
    const std::u16string text = Widen(bytes);
    const std::vector<Line> lines = TextLines(text);
    MakeSomeExist(lines, mask, system);
    const bool any = ParsePlaylistText(system, kBase, text, entries);
    Check(any == !entries.empty());
    CheckEntries(entries, lines, kBase);
  }
  return 0;
}
