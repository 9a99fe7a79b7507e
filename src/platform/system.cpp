#include "platform/system.h"

#include "platform/ports.h"

namespace glimmer {
namespace {

constexpr std::int64_t kWaitMilliseconds = 50;
constexpr std::int64_t kMicrosecondsInWait = 50000;

// Spins until n milliseconds have passed on the performance counter. A sleep
// would not do: the caller counts processor cycles during this time.
void BusyWait(std::int64_t n) {
  std::int64_t frequency = 0;
  if (!System().QueryPerformanceFrequency(frequency)) return;
  const std::int64_t target = (frequency / 1000) * n;
  std::int64_t start = 0;
  std::int64_t now = 0;
  System().QueryPerformanceCounter(start);
  do {
    System().QueryPerformanceCounter(now);
  } while (now - start < target);
}

// Makes the same calls as BusyWait without waiting, so that their cost can be
// taken off the measurement.
void Reference(std::int64_t n) {
  std::int64_t frequency = 0;
  if (!System().QueryPerformanceFrequency(frequency)) return;
  const std::int64_t target = (frequency / 1000) * n;
  std::int64_t start = 0;
  std::int64_t now = 0;
  System().QueryPerformanceCounter(start);
  do {
    System().QueryPerformanceCounter(now);
  } while (now - start == target);
}

std::int64_t CyclesDuring(void (*routine)(std::int64_t)) {
  std::uint64_t before = 0;
  if (!System().ReadTimeStampCounter(before)) return -1;
  routine(kWaitMilliseconds);
  std::uint64_t after = 0;
  if (!System().ReadTimeStampCounter(after)) return -1;
  return static_cast<std::int64_t>(after - before);
}

}  // namespace

bool RunsUnderWow64() {
  if (!System().Kernel32HasEntry("GetNativeSystemInfo")) return false;
  if (!System().Kernel32HasEntry("IsWow64Process")) return false;
  bool wow64 = false;
  return System().IsWow64Process(wow64) && wow64;
}

bool FileExists(std::u16string_view path) {
  return System().GetFileAttributes(path) != kInvalidFileAttributes;
}

std::int32_t MeasureCpuMhz() {
  const std::int64_t waited = CyclesDuring(BusyWait);
  const std::int64_t reference = CyclesDuring(Reference);
  // Wrapping subtraction: two faulted readings or a counter that ran backwards
  // must not be undefined behaviour.
  const auto difference = static_cast<std::int64_t>(static_cast<std::uint64_t>(waited) -
                                                    static_cast<std::uint64_t>(reference));
  return static_cast<std::int32_t>(difference / kMicrosecondsInWait);
}

}  // namespace glimmer
