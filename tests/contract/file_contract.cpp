#include "contract/file_contract.h"

#include <vector>

namespace glimmer::contract {
namespace {

// Reads the whole file through the port in reads of at most chunk bytes.
std::string ReadAll(FilePort& port, OsHandle file, std::uint32_t chunk) {
  std::string bytes;
  std::vector<std::uint8_t> buffer(chunk + 4, 0xCD);
  for (int guard = 0; guard < 100000; ++guard) {
    std::uint32_t read = 0xDEAD;
    if (!port.ReadFile(file, buffer.data(), chunk, read)) {
      ADD_FAILURE() << "read failed after " << bytes.size() << " bytes";
      break;
    }
    EXPECT_LE(read, chunk);
    for (std::size_t i = chunk; i < buffer.size(); ++i)
      EXPECT_EQ(buffer[i], 0xCD) << "written past the buffer at " << i;
    if (read == 0) break;
    bytes.append(reinterpret_cast<const char*>(buffer.data()), read);
  }
  return bytes;
}

std::string AllBytesOnce() {
  std::string bytes;
  for (int value = 0; value < 256; ++value) bytes.push_back(static_cast<char>(value));
  return bytes;
}

TEST_P(FilePortContract, ReadsExactlyTheStoredBytesInAnyChunkSize) {
  const std::string stored = "#EXTM3U\r\na.mp3\r\n" + AllBytesOnce() + "\n\xEF\xBB\xBF";
  Bench().Write(u"list.m3u", stored);
  for (const std::uint32_t chunk : {1u, 7u, 4096u}) {
    FileOwner file(Port(), Port().OpenForReading(Bench().Folder() + u"list.m3u"));
    ASSERT_TRUE(file) << "chunk " << chunk;
    EXPECT_EQ(ReadAll(Port(), file.get(), chunk), stored) << "chunk " << chunk;
    std::uint8_t spare[8] = {};
    std::uint32_t read = 0xDEAD;
    EXPECT_TRUE(Port().ReadFile(file.get(), spare, sizeof(spare), read)) << "a read at the end";
    EXPECT_EQ(read, 0u);
  }
}

TEST_P(FilePortContract, AnEmptyFileOpensAndEndsAtOnce) {
  Bench().Write(u"empty.m3u", "");
  FileOwner file(Port(), Port().OpenForReading(Bench().Folder() + u"empty.m3u"));
  ASSERT_TRUE(file);
  EXPECT_EQ(ReadAll(Port(), file.get(), 16), "");
}

TEST_P(FilePortContract, OnlyExistingFilesOpenAndNamesIgnoreAsciiCase) {
  Bench().Write(u"Songs.m3u", "x");
  Bench().MakeFolder(u"Folder");
  const std::u16string folder = Bench().Folder();
  struct Case {
    std::u16string path;
    bool opens;
  };
  const Case cases[] = {
      {folder + u"Songs.m3u", true},
      {folder + u"SONGS.M3U", true},
      {folder + u"songs.m3u", true},
      {folder + u"missing.m3u", false},
      {folder + u"Folder", false},
      {folder + u"Nowhere\\Songs.m3u", false},
      {folder + u"Songs.m3u" + std::u16string(1, u'\0') + u"x", false},
      {u"", false},
  };
  for (const Case& c : cases) {
    const OsHandle handle = Port().OpenForReading(c.path);
    EXPECT_EQ(handle != 0, c.opens) << std::string(c.path.begin(), c.path.end());
    if (handle != 0) {
      EXPECT_TRUE(Port().CloseHandle(handle));
    }
  }
}

TEST_P(FilePortContract, ConvertsTheWayTheCodePageSays) {
  struct Case {
    std::uint32_t codePage;
    std::string bytes;
    std::u16string text;
  };
  const Case cases[] = {
      {kCpUtf8, "\xD0\x9C\xD1\x83\xD0\xB7\xD1\x8B\xD0\xBA\xD0\xB0",
       u"\u041C\u0443\u0437\u044B\u043A\u0430"},
      {kCpUtf8, "caf\xC3\xA9\\\xF0\x9F\x8E\xB5.mp3", u"caf\u00E9\\\U0001F3B5.mp3"},
      {kCpUtf8, "\xC3(", u"\uFFFD("},
      {kCpUtf8, "\xE9t\xE9", u"\uFFFDt\uFFFD"},
      {kCpUtf8, std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
      {1251, "\xCC\xF3\xE7\xFB\xEA\xE0\\\xB8\xA8",
       u"\u041C\u0443\u0437\u044B\u043A\u0430\\\u0451\u0401"},
      {1252, "\x80 caf\xE9 \x9F", u"\u20AC caf\u00E9 \u0178"},
      {kCpAcp, "plain ascii.mp3", u"plain ascii.mp3"},
      {kCpUtf8, "", u""},
      {1252, "", u""},
  };
  for (const Case& c : cases) {
    std::u16string text = u"untouched";
    EXPECT_TRUE(Port().MultiByteToWideChar(c.codePage, c.bytes, text))
        << c.codePage << " " << c.bytes;
    EXPECT_EQ(text, c.text) << c.codePage << " " << c.bytes;
  }
}

TEST_P(FilePortContract, TheAnsiCodePageIsTheSystemOne) {
  const std::string high = AllBytesOnce().substr(0x80);
  std::u16string viaAcp;
  std::u16string viaNumber;
  ASSERT_TRUE(Port().MultiByteToWideChar(kCpAcp, high, viaAcp));
  ASSERT_TRUE(Port().MultiByteToWideChar(Bench().AnsiCodePage(), high, viaNumber));
  EXPECT_EQ(viaAcp, viaNumber) << "code page " << Bench().AnsiCodePage();
  EXPECT_EQ(viaAcp.size(), high.size()) << "a single-byte code page";
}

TEST_P(FilePortContract, AnUnknownCodePageFailsAndLeavesTheTextAlone) {
  std::u16string text = u"untouched";
  EXPECT_FALSE(Port().MultiByteToWideChar(12345, "abc", text));
  EXPECT_EQ(text, u"untouched");
}

}  // namespace
}  // namespace glimmer::contract
