// What every DisplayDevicePort must do, natively as the fake and under Wine
// as User32: one adapter attached to the desktop.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/display_device_port.h"

namespace glimmer::contract {

struct DisplayDeviceImplementation {
  std::string name;
  std::function<std::unique_ptr<DisplayDevicePort>()> make;
};

inline void PrintTo(const DisplayDeviceImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string DisplayDeviceImplementationName(
    const testing::TestParamInfo<DisplayDeviceImplementation>& info) {
  return info.param.name;
}

class DisplayDeviceContract : public testing::TestWithParam<DisplayDeviceImplementation> {
 protected:
  void SetUp() override { port_ = GetParam().make(); }

  std::unique_ptr<DisplayDevicePort> port_;
};

}  // namespace glimmer::contract
