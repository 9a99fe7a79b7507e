#include "fakes/fake_files.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/text.h"

namespace glimmer::fakes {
namespace {

// Windows-1252 0x80-0x9F; 0xA0-0xFF are the Latin-1 characters of the same code.
// The five unassigned bytes map to the C1 control of the same code, as Windows does.
constexpr std::array<char16_t, 32> k1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Windows-1251 0x80-0xBF; 0xC0-0xFF are U+0410-U+044F in order.
constexpr std::array<char16_t, 64> k1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457};

char16_t FromSingleByte(std::uint32_t codePage, unsigned char byte) {
  if (byte < 0x80) return byte;
  if (codePage == 1252) return byte < 0xA0 ? k1252High[byte - 0x80] : byte;
  return byte < 0xC0 ? k1251High[byte - 0x80] : static_cast<char16_t>(0x0410 + (byte - 0xC0));
}

}  // namespace

std::u16string FakeFiles::Folded(std::u16string_view path) {
  std::u16string folded(path);
  for (char16_t& unit : folded)
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  return folded;
}

void FakeFiles::Put(std::u16string_view path, std::string_view bytes) {
  files_[Folded(path)] = std::string(bytes);
}

OsHandle FakeFiles::OpenForReading(std::u16string_view path) {
  ++openCalls_;
  const auto found = files_.find(Folded(path));
  if (found == files_.end()) return 0;
  const OsHandle handle = nextHandle_++;
  open_[handle] = OpenFile{found->second, 0};
  return handle;
}

bool FakeFiles::ReadFile(OsHandle file, std::uint8_t* buffer, std::uint32_t size,
                         std::uint32_t& read) {
  read = 0;
  const auto found = open_.find(file);
  if (found == open_.end()) return false;
  OpenFile& open = found->second;
  if (open.position >= readFailsAfter) return false;
  std::size_t count = std::min<std::size_t>(size, open.bytes.size() - open.position);
  if (readChunk != 0) count = std::min<std::size_t>(count, readChunk);
  if (readFailsAfter != static_cast<std::size_t>(-1))
    count = std::min(count, readFailsAfter - open.position);
  std::memcpy(buffer, open.bytes.data() + open.position, count);
  open.position += count;
  read = static_cast<std::uint32_t>(count);
  return true;
}

bool FakeFiles::CloseHandle(OsHandle file) { return open_.erase(file) != 0; }

bool FakeFiles::MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes,
                                    std::u16string& text) {
  if (codePage == kCpAcp) codePage = ansiCodePage;
  if (codePage == kCpUtf8) {
    // FromUtf8 stops at a NUL; the platform converts exactly the bytes given.
    std::u16string converted;
    for (std::size_t start = 0;;) {
      const std::size_t nul = bytes.find('\0', start);
      converted += FromUtf8(bytes.substr(start, nul - start));
      if (nul == std::string_view::npos) break;
      converted += u'\0';
      start = nul + 1;
    }
    text = std::move(converted);
    return true;
  }
  if (codePage != 1252 && codePage != 1251) return false;
  std::u16string converted;
  for (const char byte : bytes)
    converted += FromSingleByte(codePage, static_cast<unsigned char>(byte));
  text = std::move(converted);
  return true;
}

}  // namespace glimmer::fakes
