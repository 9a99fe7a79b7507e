// What every DirectDrawPort must do, natively as the fake and under Wine as
// ddraw.dll: a machine with one adapter and as many monitors as it says.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/directdraw_port.h"

namespace glimmer::contract {

struct DirectDrawImplementation {
  std::string name;
  std::function<std::unique_ptr<DirectDrawPort>()> make;
  // The monitors of the machine it stands for.
  std::function<long()> monitors = [] { return 1L; };
};

inline void PrintTo(const DirectDrawImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string DirectDrawImplementationName(
    const testing::TestParamInfo<DirectDrawImplementation>& info) {
  return info.param.name;
}

class DirectDrawContract : public testing::TestWithParam<DirectDrawImplementation> {
 protected:
  void SetUp() override {
    port_ = GetParam().make();
    module_ = port_->LoadDirectDraw();
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override { module_.reset(); }

  std::vector<DirectDrawDeviceInfo> Enumerate(std::uint32_t flags);

  std::unique_ptr<DirectDrawPort> port_;
  std::unique_ptr<DirectDrawModule> module_;
};

}  // namespace glimmer::contract
