#include "contract/system_contract.h"

#include <cstdint>
#include <vector>

#include "platform/text.h"

namespace glimmer::contract {
namespace {

bool IsAbsoluteFolder(const std::u16string& path) {
  return path.size() >= 3 && path[1] == u':' && path[2] == u'\\' &&
         (path.size() == 3 || path.back() != u'\\');
}

TEST_P(SystemContract, Kernel32EntriesAreFoundByTheirExactName) {
  EXPECT_TRUE(Port().Kernel32HasEntry("GetNativeSystemInfo"));
  EXPECT_TRUE(Port().Kernel32HasEntry("IsWow64Process"));
  EXPECT_FALSE(Port().Kernel32HasEntry("isWow64Process")) << "export names are case-sensitive";
  EXPECT_FALSE(Port().Kernel32HasEntry("IsWow64Process2x"));
  EXPECT_FALSE(Port().Kernel32HasEntry("NoSuchEntryInKernel32"));
}

TEST_P(SystemContract, ASixtyFourBitProcessNeverRunsUnderWow64) {
  bool wow64 = true;
  ASSERT_TRUE(Port().IsWow64Process(wow64));
  if (Port().Is64BitProcess()) {
    EXPECT_FALSE(wow64);
  }
}

// Windows finds files and folders whatever the case of their letters and
// whichever separator the path uses; the product's paths come from the
// registry, the user's playlists and the shell, in any spelling.
TEST_P(SystemContract, FilesAndFoldersAreFoundInAnySpelling) {
  const std::u16string folder = World().MakeFolder(u"Musik \u00c4rger");
  const std::u16string file = World().MakeFile(u"\u041f\u0435\u0441\u043d\u044f Track.mp3");
  ASSERT_FALSE(folder.empty());
  ASSERT_FALSE(file.empty());

  auto swapCase = [](std::u16string path) {
    for (std::size_t i = 3; i < path.size(); ++i) {  // keep the drive as it is
      char16_t& unit = path[i];
      if ((unit >= u'a' && unit <= u'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) ||
          (unit >= 0x430 && unit <= 0x44F))
        unit = static_cast<char16_t>(unit - 0x20);
      else if ((unit >= u'A' && unit <= u'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7) ||
               (unit >= 0x410 && unit <= 0x42F))
        unit = static_cast<char16_t>(unit + 0x20);
    }
    return path;
  };
  auto slashes = [](std::u16string path) {
    for (std::size_t i = 3; i < path.size(); ++i)
      if (path[i] == u'\\') path[i] = u'/';
    return path;
  };

  for (const std::u16string& path :
       {folder, file, swapCase(folder), swapCase(file), slashes(folder), slashes(file)}) {
    SCOPED_TRACE(ToUtf8(path));
    EXPECT_NE(kInvalidFileAttributes, Port().GetFileAttributes(path));
  }
}

TEST_P(SystemContract, NothingElseExists) {
  const std::u16string file = World().MakeFile(u"present.txt");
  ASSERT_FALSE(file.empty());
  const std::u16string folder = file.substr(0, file.rfind(u'\\'));
  for (const std::u16string& path :
       {folder + u"\\absent.txt", folder + u"\\present.tx", folder + u"\\present.txt.bak",
        folder + u"\\pres*.txt", folder + u"\\present.tx?", std::u16string(u"")}) {
    SCOPED_TRACE(ToUtf8(path));
    EXPECT_EQ(kInvalidFileAttributes, Port().GetFileAttributes(path));
  }
}

TEST_P(SystemContract, CountersRunForward) {
  std::int64_t frequency = 0;
  ASSERT_TRUE(Port().QueryPerformanceFrequency(frequency));
  EXPECT_GT(frequency, 0);

  std::vector<std::int64_t> counters(5);
  for (auto& counter : counters) ASSERT_TRUE(Port().QueryPerformanceCounter(counter));
  for (std::size_t i = 1; i < counters.size(); ++i) EXPECT_LE(counters[i - 1], counters[i]);

  std::uint64_t first = 0;
  std::uint64_t second = 0;
  if (Port().ReadTimeStampCounter(first)) {
    ASSERT_TRUE(Port().ReadTimeStampCounter(second));
    EXPECT_LE(first, second);
  }
}

TEST_P(SystemContract, ProgramFoldersAreAbsoluteAndOtherFoldersUnknown) {
  for (int csidl : {kCsidlProgramFiles, kCsidlProgramFilesX86}) {
    SCOPED_TRACE(csidl);
    std::u16string path = u"untouched";
    ASSERT_TRUE(Port().GetSpecialFolderPath(csidl, path));
    EXPECT_TRUE(IsAbsoluteFolder(path)) << ToUtf8(path);
  }
  std::u16string path = u"untouched";
  EXPECT_FALSE(Port().GetSpecialFolderPath(0xFE, path)) << "no such folder number";
  EXPECT_EQ(u"untouched", path);
}

TEST_P(SystemContract, TheCurrentFolderIsAbsolute) {
  std::u16string path;
  ASSERT_TRUE(Port().GetCurrentDirectory(path));
  EXPECT_TRUE(IsAbsoluteFolder(path)) << ToUtf8(path);
}

}  // namespace
}  // namespace glimmer::contract
