#include "platform/system.h"

namespace glimmer {
namespace {

constexpr std::int64_t kWaitMilliseconds = 50;
constexpr std::int64_t kMicrosecondsInWait = 50000;

// A 50 ms wait reads the performance counter a few million times at most. A
// counter that fails, stops or runs far slower than its frequency says must
// not hold the settings dialog for ever: the wait ends at the first failed
// read, after this many reads without progress, or after this many in all.
constexpr std::int64_t kMaxReadsWithoutProgress = 1'000'000;
constexpr std::int64_t kMaxCounterReads = 50'000'000;

// Reads the performance counter again and again while keepGoing(elapsed ticks,
// ticks of n milliseconds) holds, within the bounds above.
template <typename KeepGoing>
void ReadCounterWhile(SystemPort& system, std::int64_t n, KeepGoing keepGoing) {
  std::int64_t frequency = 0;
  if (!system.QueryPerformanceFrequency(frequency)) return;
  const std::int64_t target = (frequency / 1000) * n;
  std::int64_t start = 0;
  if (!system.QueryPerformanceCounter(start)) return;
  std::int64_t previous = start;
  std::int64_t unchanged = 0;
  for (std::int64_t reads = 0; reads < kMaxCounterReads; ++reads) {
    std::int64_t now = 0;
    if (!system.QueryPerformanceCounter(now)) return;
    // Wrapping subtraction: a counter that jumps must not be undefined behaviour.
    const auto elapsed = static_cast<std::int64_t>(static_cast<std::uint64_t>(now) -
                                                   static_cast<std::uint64_t>(start));
    if (!keepGoing(elapsed, target)) return;
    unchanged = now == previous ? unchanged + 1 : 0;
    if (unchanged >= kMaxReadsWithoutProgress) return;
    previous = now;
  }
}

// Spins until n milliseconds have passed on the performance counter. A sleep
// would not do: the caller counts processor cycles during this time.
void BusyWait(SystemPort& system, std::int64_t n) {
  ReadCounterWhile(system, n,
                   [](std::int64_t elapsed, std::int64_t target) { return elapsed < target; });
}

// Makes the same calls as BusyWait without waiting, so that their cost can be
// taken off the measurement.
void Reference(SystemPort& system, std::int64_t n) {
  ReadCounterWhile(system, n,
                   [](std::int64_t elapsed, std::int64_t target) { return elapsed == target; });
}

std::int64_t CyclesDuring(SystemPort& system, void (*routine)(SystemPort&, std::int64_t)) {
  std::uint64_t before = 0;
  if (!system.ReadTimeStampCounter(before)) return -1;
  routine(system, kWaitMilliseconds);
  std::uint64_t after = 0;
  if (!system.ReadTimeStampCounter(after)) return -1;
  return static_cast<std::int64_t>(after - before);
}

}  // namespace

bool RunsUnderWow64(SystemPort& system) {
  if (!system.Kernel32HasEntry("GetNativeSystemInfo")) return false;
  if (!system.Kernel32HasEntry("IsWow64Process")) return false;
  bool wow64 = false;
  return system.IsWow64Process(wow64) && wow64;
}

bool FileExists(SystemPort& system, std::u16string_view path) {
  return system.GetFileAttributes(path) != kInvalidFileAttributes;
}

std::int32_t MeasureCpuMhz(SystemPort& system) {
  const std::int64_t waited = CyclesDuring(system, BusyWait);
  const std::int64_t reference = CyclesDuring(system, Reference);
  // Wrapping subtraction: two faulted readings or a counter that ran backwards
  // must not be undefined behaviour.
  const auto difference = static_cast<std::int64_t>(static_cast<std::uint64_t>(waited) -
                                                    static_cast<std::uint64_t>(reference));
  return static_cast<std::int32_t>(difference / kMicrosecondsInWait);
}

}  // namespace glimmer
