// What every ProcessPort must do, whatever stands behind it: run natively
// against the fake and under Wine against the Win32 adapter.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/ports.h"

namespace glimmer::contract {

// Programs to start, provided by the implementation under test.
class ProcessWorld {
 public:
  virtual ~ProcessWorld() = default;
  virtual ProcessPort& Port() = 0;
  // A command line whose program ends by itself at once.
  virtual std::u16string QuickProgram() = 0;
  // A command line whose program file does not exist.
  virtual std::u16string MissingProgram() = 0;
  // An existing folder to start programs in.
  virtual std::u16string Folder() = 0;
};

struct ProcessImplementation {
  std::string name;
  std::function<std::unique_ptr<ProcessWorld>()> make;
};

inline void PrintTo(const ProcessImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string ProcessImplementationName(
    const ::testing::TestParamInfo<ProcessImplementation>& info) {
  return info.param.name;
}

class ProcessContract : public ::testing::TestWithParam<ProcessImplementation> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  ProcessWorld& World() { return *world_; }
  ProcessPort& Port() { return world_->Port(); }

 private:
  std::unique_ptr<ProcessWorld> world_;
};

}  // namespace glimmer::contract
