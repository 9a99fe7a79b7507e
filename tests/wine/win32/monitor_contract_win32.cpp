// The monitor contract against User32, on the primary monitor; the native
// tests hold the fake to it.
#include "contract/monitor_contract.h"
#include "win32/monitor_win32.h"
#include "win32/windows_api.h"

namespace glimmer::contract {
namespace {

MonitorSetup PrimaryMonitor() {
  MonitorSetup setup;
  setup.port = std::make_unique<win32::Win32Monitors>();
  setup.monitor =
      reinterpret_cast<MonitorHandle>(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY));
  setup.activeMonitorAttached = true;
  return setup;
}

INSTANTIATE_TEST_SUITE_P(Platform, MonitorContract,
                         testing::Values(MonitorImplementation{"Win32", PrimaryMonitor}),
                         MonitorImplementationName);

}  // namespace
}  // namespace glimmer::contract
