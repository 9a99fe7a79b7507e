// What every elevation port must do, whatever stands behind it: the program's
// own path, named mappings that live as long as their maker's handle and
// cannot be made twice, a "runas" start that is waited for and tells its exit
// code, and random numbers. Run natively against the fake and under Wine
// against the Win32 adapter (where "runas" starts the program as it is).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/elevation_port.h"
#include "platform/ports.h"

namespace glimmer::contract {

class ElevationWorld {
 public:
  virtual ~ElevationWorld() = default;
  virtual ElevationPort& Port() = 0;
  // The process port that waits for and closes the port's handles.
  virtual ProcessPort& Processes() = 0;
  // A program and parameters that end at once with exit code 3.
  virtual std::u16string QuickProgram() = 0;
  virtual std::u16string QuickParameters() = 0;
  // A program file that does not exist.
  virtual std::u16string MissingProgram() = 0;
};

struct ElevationImplementation {
  std::string name;
  std::function<std::unique_ptr<ElevationWorld>()> make;
};

inline void PrintTo(const ElevationImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string ElevationImplementationName(
    const ::testing::TestParamInfo<ElevationImplementation>& info) {
  return info.param.name;
}

class ElevationContract : public ::testing::TestWithParam<ElevationImplementation> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  ElevationWorld& World() { return *world_; }
  ElevationPort& Port() { return world_->Port(); }

 private:
  std::unique_ptr<ElevationWorld> world_;
};

}  // namespace glimmer::contract
