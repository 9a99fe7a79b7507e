#include "contract/process_contract.h"

#include <set>

namespace glimmer::contract {
namespace {

// The run mode's sequence: start, wait without end, close both handles.
TEST_P(ProcessContract, AStartedProgramIsWaitedForAndItsHandlesClosed) {
  ProcessHandles started;
  ASSERT_TRUE(Port().CreateProcess(World().QuickProgram(), World().Folder(), started));
  EXPECT_NE(0u, started.process);
  EXPECT_NE(0u, started.thread);
  EXPECT_NE(started.process, started.thread);

  EXPECT_EQ(kWaitObject0, Port().WaitForSingleObject(started.process, kInfinite));
  // An ended program stays signalled, so waiting again does not block.
  EXPECT_EQ(kWaitObject0, Port().WaitForSingleObject(started.process, 0));
  EXPECT_TRUE(Port().CloseHandle(started.thread));
  EXPECT_TRUE(Port().CloseHandle(started.process));
}

TEST_P(ProcessContract, AClosedHandleNamesNothing) {
  ProcessHandles started;
  ASSERT_TRUE(Port().CreateProcess(World().QuickProgram(), World().Folder(), started));
  ASSERT_EQ(kWaitObject0, Port().WaitForSingleObject(started.process, kInfinite));
  ASSERT_TRUE(Port().CloseHandle(started.thread));
  ASSERT_TRUE(Port().CloseHandle(started.process));
  EXPECT_FALSE(Port().CloseHandle(started.process));
  EXPECT_EQ(kWaitFailed, Port().WaitForSingleObject(started.process, 0));
}

TEST_P(ProcessContract, EveryStartHasHandlesOfItsOwn) {
  std::set<OsHandle> handles;
  ProcessHandles runs[2];
  for (ProcessHandles& started : runs) {
    ASSERT_TRUE(Port().CreateProcess(World().QuickProgram(), World().Folder(), started));
    handles.insert({started.process, started.thread});
  }
  EXPECT_EQ(4u, handles.size());
  for (ProcessHandles& started : runs) {
    EXPECT_EQ(kWaitObject0, Port().WaitForSingleObject(started.process, kInfinite));
    EXPECT_TRUE(Port().CloseHandle(started.thread));
    EXPECT_TRUE(Port().CloseHandle(started.process));
  }
}

TEST_P(ProcessContract, AMissingProgramDoesNotStartAndLeavesTheHandlesAlone) {
  ProcessHandles started{0x5A5A, 0xA5A5};
  EXPECT_FALSE(Port().CreateProcess(World().MissingProgram(), World().Folder(), started));
  EXPECT_EQ(0x5A5Au, started.process);
  EXPECT_EQ(0xA5A5u, started.thread);
}

}  // namespace
}  // namespace glimmer::contract
