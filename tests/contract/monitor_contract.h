// What every monitor port must do: natively the fake, under Wine User32.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/monitor_port.h"

namespace glimmer::contract {

// A port with one monitor the test may ask about.
struct MonitorSetup {
  std::unique_ptr<MonitorPort> port;
  MonitorHandle monitor = 0;
  // Whether that monitor's display device has an active attached monitor.
  bool activeMonitorAttached = true;
};

struct MonitorImplementation {
  std::string name;
  std::function<MonitorSetup()> make;
};

inline void PrintTo(const MonitorImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string MonitorImplementationName(
    const testing::TestParamInfo<MonitorImplementation>& info) {
  return info.param.name;
}

class MonitorContract : public testing::TestWithParam<MonitorImplementation> {
 protected:
  void SetUp() override { setup_ = GetParam().make(); }
  MonitorPort& Port() { return *setup_.port; }

  MonitorSetup setup_;
};

}  // namespace glimmer::contract
