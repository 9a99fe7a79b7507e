// What every ResourcePort must do, whatever stands behind it: run natively
// against the fake and under Wine against the Win32 adapter reading the test
// program's own resources (tests/wine/win32/resource_contract_win32.rc).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace glimmer::contract {

// The resources every implementation under test holds, and no others with
// these identifiers. The resource script must list the same bytes.
struct ContractResource {
  std::uint16_t id;
  std::uint16_t type;
  std::string_view bytes;
};

inline constexpr std::uint16_t kContractResourceType = 300;  // a type of its own
inline constexpr ContractResource kContractResources[] = {
    {30001, kRtRcdata, std::string_view("Glimmerdale", 11)},
    {30002, kRtRcdata, std::string_view("", 0)},
    {30003, kRtRcdata, std::string_view("\0\xffx", 3)},
    {30001, kContractResourceType, std::string_view("other type", 10)},
};

struct ResourceImplementation {
  std::string name;
  // A port that holds kContractResources.
  std::function<std::unique_ptr<ResourcePort>()> make;
};

inline void PrintTo(const ResourceImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string ResourceImplementationName(
    const ::testing::TestParamInfo<ResourceImplementation>& info) {
  return info.param.name;
}

class ResourceContract : public ::testing::TestWithParam<ResourceImplementation> {
 protected:
  void SetUp() override { port_ = GetParam().make(); }
  ResourcePort& Port() { return *port_; }

 private:
  std::unique_ptr<ResourcePort> port_;
};

}  // namespace glimmer::contract
