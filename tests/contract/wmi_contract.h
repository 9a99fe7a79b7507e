// What every WmiPort must do for the video controller query, whatever stands
// behind it: natively the fake, under Wine the real WMI service.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/wmi_port.h"

namespace glimmer::contract {

struct WmiImplementation {
  std::string name;
  std::function<std::unique_ptr<WmiPort>()> make;
};

inline void PrintTo(const WmiImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string WmiImplementationName(const testing::TestParamInfo<WmiImplementation>& info) {
  return info.param.name;
}

// COM is open on the test's thread for the duration of each test.
class WmiContract : public testing::TestWithParam<WmiImplementation> {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Locator, services (with the proxy blanket) and an enumerator of
  // Win32_VideoController made with flags, each checked on the way; one that
  // is not forward-only is reset too.
  void OpenControllers(std::int32_t flags = 0);

  std::unique_ptr<WmiPort> port_;
  bool comOpen_ = false;
  std::unique_ptr<WbemLocator> locator_;
  std::unique_ptr<WbemServices> services_;
  std::unique_ptr<EnumWbemClassObject> enumerator_;
};

}  // namespace glimmer::contract
