// The processor-clock measurement when the performance counter misbehaves: it
// must come back, soon, whatever the counter does.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "fakes/fake_system.h"
#include "platform/system.h"

namespace glimmer {
namespace {

struct CounterCase {
  std::string name;
  std::int64_t frequency = 10'000'000;  // 50 ms are 500,000 ticks
  std::int64_t step = 1000;
  std::int64_t stopsAt = std::numeric_limits<std::int64_t>::max();
  bool readFails = false;
  std::int64_t maxReads;  // over both routines, the frequency queries not counted
};

TEST(CpuClock, EndsWhateverThePerformanceCounterDoes) {
  const CounterCase cases[] = {
      // 500 reads to pass 500,000 ticks, one more each for the starts and the reference.
      {.name = "steady", .maxReads = 503},
      {.name = "every read fails", .readFails = true, .maxReads = 2},
      {.name = "never advances", .step = 0, .maxReads = 1'000'003},
      {.name = "stops half way", .stopsAt = 250'000, .maxReads = 1'000'253},
      // A frequency far above what the counter does: 10^15 ticks in 50 ms.
      {.name = "far too slow",
       .frequency = 20'000'000'000'000'000,
       .step = 1,
       .maxReads = 50'000'003},
  };
  for (const CounterCase& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeSystem system;
    system.frequency = c.frequency;
    system.counterStep = c.step;
    system.counterStopsAt = c.stopsAt;
    system.counterReadFails = c.readFails;
    // 3 GHz over the wait, once the half a million cycles that its calls
    // cost without waiting (the reference) are taken off.
    system.tscReadings = {0, 150'500'000, 1'000, 501'000};
    EXPECT_EQ(3000, MeasureCpuMhz(system));
    EXPECT_LE(system.counterReads, c.maxReads);
    EXPECT_GE(system.counterReads, c.readFails ? 2 : 3) << "both routines read the counter";
  }
}

// The reference routine makes the wait's calls without waiting, also when the
// counter stands still on its target: it stops like the wait does.
TEST(CpuClock, TheReferenceEndsOnAStillCounterToo) {
  fakes::FakeSystem system;
  system.frequency = 999;  // under 1 kHz the target is 0 ticks
  system.counterStep = 0;
  system.tscReadings = {0, 0, 0, 0};
  EXPECT_EQ(0, MeasureCpuMhz(system));
  EXPECT_LE(system.counterReads, 1'000'003);
}

}  // namespace
}  // namespace glimmer
