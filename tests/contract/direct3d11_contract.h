// What every Direct3D 11 port must do: natively the fake in each staged
// configuration, under Wine d3d11.dll.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <set>
#include <string>

#include "platform/direct3d11_port.h"

namespace glimmer::contract {

struct Direct3D11Implementation {
  std::string name;
  std::function<std::unique_ptr<Direct3D11Port>()> make;
  // Whether a hardware device can be made, and then the sample counts from 2
  // to 32 it supports for DXGI_FORMAT_R8G8B8A8_UNORM.
  bool hasDevice = true;
  std::set<std::uint32_t> sampleCounts;
};

inline void PrintTo(const Direct3D11Implementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string Direct3D11ImplementationName(
    const testing::TestParamInfo<Direct3D11Implementation>& info) {
  return info.param.name;
}

class Direct3D11Contract : public testing::TestWithParam<Direct3D11Implementation> {
 protected:
  void SetUp() override { port_ = GetParam().make(); }
  // The hardware device, or a skip where the implementation has none.
  std::unique_ptr<Direct3D11Device> Device();

  std::unique_ptr<Direct3D11Port> port_;
};

}  // namespace glimmer::contract
