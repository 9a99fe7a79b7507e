// What every SystemPort must do, whatever stands behind it: run natively
// against the fake and under Wine against the Win32 adapter, so the logic
// tests that rely on the fake rely on the platform's real behaviour.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace glimmer::contract {

// A system to test on, made by the implementation under test.
class SystemWorld {
 public:
  virtual ~SystemWorld() = default;
  virtual SystemPort& Port() = 0;
  // Creates a file or a folder in a scratch folder of its own and returns
  // its full path; the world removes it again.
  virtual std::u16string MakeFile(std::u16string_view name) = 0;
  virtual std::u16string MakeFolder(std::u16string_view name) = 0;
};

// Each test binary instantiates the suite, inside this namespace, with
//   INSTANTIATE_TEST_SUITE_P(Prefix, SystemContract, ::testing::Values(implementation),
//                            SystemImplementationName);
struct SystemImplementation {
  std::string name;
  std::function<std::unique_ptr<SystemWorld>()> make;
};

inline void PrintTo(const SystemImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string SystemImplementationName(
    const ::testing::TestParamInfo<SystemImplementation>& info) {
  return info.param.name;
}

class SystemContract : public ::testing::TestWithParam<SystemImplementation> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  SystemWorld& World() { return *world_; }
  SystemPort& Port() { return world_->Port(); }

 private:
  std::unique_ptr<SystemWorld> world_;
};

}  // namespace glimmer::contract
