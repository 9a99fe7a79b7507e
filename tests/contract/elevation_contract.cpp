#include "contract/elevation_contract.h"

#include <algorithm>
#include <array>
#include <vector>

#include "elevation/elevated_save.h"

namespace glimmer::contract {
namespace {

// A name no other test run uses at the same time.
std::u16string FreshName(ElevationPort& port) {
  std::array<std::uint8_t, 8> random{};
  EXPECT_TRUE(port.GenerateRandom(random.data(), static_cast<std::uint32_t>(random.size())));
  std::u16string name = u"Local\\GlimmerdaleContract-";
  for (const std::uint8_t byte : random) name += static_cast<char16_t>(u'a' + byte % 26);
  return name;
}

TEST_P(ElevationContract, TheModuleFileNameIsAFullPath) {
  std::u16string path;
  ASSERT_TRUE(Port().GetModuleFileName(path));
  EXPECT_NE(path.find(u":\\"), std::u16string::npos) << "a drive and a folder";
}

TEST_P(ElevationContract, AMappingLivesWhileItsMakersHandleDoesAndIsMadeOnce) {
  const std::u16string name = FreshName(Port());
  const std::vector<std::uint8_t> bytes = {1, 2, 3, 4, 5, 0, 7};
  OsHandle mapping = 0;
  ASSERT_EQ(Port().CreateSharedMemory(name, bytes, mapping), kErrorSuccess);
  ASSERT_NE(mapping, 0u);

  std::vector<std::uint8_t> read;
  ASSERT_EQ(Port().ReadSharedMemory(name, 1 << 20, read), kErrorSuccess);
  ASSERT_GE(read.size(), bytes.size()) << "whole pages";
  EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), read.begin()));
  EXPECT_TRUE(std::all_of(read.begin() + static_cast<long>(bytes.size()), read.end(),
                          [](std::uint8_t byte) { return byte == 0; }));
  ASSERT_EQ(Port().ReadSharedMemory(name, 3, read), kErrorSuccess);
  EXPECT_EQ(read, (std::vector<std::uint8_t>{1, 2, 3}));

  OsHandle second = 0;
  EXPECT_EQ(Port().CreateSharedMemory(name, {9}, second), kErrorAlreadyExists);
  ASSERT_EQ(Port().ReadSharedMemory(name, 1, read), kErrorSuccess);
  EXPECT_EQ(read, std::vector<std::uint8_t>{1}) << "the first one's bytes";

  EXPECT_TRUE(World().Processes().CloseHandle(mapping));
  EXPECT_NE(Port().ReadSharedMemory(name, 1, read), kErrorSuccess) << "gone with its handle";
  ASSERT_EQ(Port().CreateSharedMemory(name, {9}, second), kErrorSuccess) << "the name is free";
  World().Processes().CloseHandle(second);
}

TEST_P(ElevationContract, AMappingNobodyMadeCannotBeRead) {
  std::vector<std::uint8_t> read = {42};
  EXPECT_NE(Port().ReadSharedMemory(FreshName(Port()), 16, read), kErrorSuccess);
}

// Started as the shell starts its elevated instance: without the zone check.
TEST_P(ElevationContract, ARunAsStartIsWaitedForAndTellsItsExitCode) {
  OsHandle process = 0;
  ASSERT_EQ(Port().ShellExecuteRunAs(kElevatedStartMask, 0, World().QuickProgram(),
                                     World().QuickParameters(), process),
            kErrorSuccess);
  ASSERT_NE(process, 0u);
  EXPECT_EQ(World().Processes().WaitForSingleObject(process, 30000), kWaitObject0);
  std::uint32_t code = 0;
  ASSERT_TRUE(Port().GetExitCodeProcess(process, code));
  EXPECT_EQ(code, 3u);
  EXPECT_TRUE(World().Processes().CloseHandle(process));

  process = 0;
  EXPECT_NE(Port().ShellExecuteRunAs(kElevatedStartMask, 0, World().MissingProgram(), u"", process),
            kErrorSuccess);
  EXPECT_EQ(process, 0u);
}

TEST_P(ElevationContract, RandomNumbersDoNotRepeat) {
  std::array<std::uint8_t, 16> first{}, second{};
  ASSERT_TRUE(Port().GenerateRandom(first.data(), 16));
  ASSERT_TRUE(Port().GenerateRandom(second.data(), 16));
  EXPECT_NE(first, second);
}

}  // namespace

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ElevationContract);

}  // namespace glimmer::contract
