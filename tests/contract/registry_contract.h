// The registry port's contract, written once and run against every
// implementation: the in-memory fake natively, the Windows registry under Wine.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "fakes/fake_system.h"
#include "platform/registry.h"
#include "platform/registry_port.h"

namespace glimmer::contract {

struct RegistryImplementation {
  std::string name;
  std::function<std::unique_ptr<RegistryPort>()> make;
};

// Test names and failure messages show the implementation's name, not its bytes.
inline void PrintTo(const RegistryImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string RegistryImplementationName(
    const testing::TestParamInfo<RegistryImplementation>& info) {
  return info.param.name;
}

class RegistryContract : public testing::TestWithParam<RegistryImplementation> {
 protected:
  // A scratch key below HKEY_CURRENT_USER, wiped before and after each test.
  static constexpr std::u16string_view kScratch = u"Software\\Vellumark\\GlimmerdaleContract";

  void SetUp() override;
  void TearDown() override;

  RegKey Create(std::u16string_view subKey, std::uint32_t access = kKeyAllAccess);
  void SetRaw(RegKey key, std::u16string_view name, std::uint32_t type,
              const std::vector<std::uint8_t>& data);

  std::unique_ptr<RegistryPort> registry_;
  std::vector<RegKey> opened_;
};

// The string helpers over the same port.
class RegistryStringContract : public RegistryContract {
 protected:
  HResult Read(std::u16string_view name, std::u16string& out) {
    return Read(kScratch, name, out, true);
  }
  HResult Read(std::u16string_view key, std::u16string_view name, std::u16string& out,
               bool prefer64BitView) {
    return ReadRegistryString(*registry_, system_, kHkeyCurrentUser, key, name, out,
                              prefer64BitView);
  }
  HResult Write(std::u16string_view key, std::u16string_view value) {
    return WriteRegistryString(*registry_, system_, kHkeyCurrentUser, key, u"v", value, true);
  }

  fakes::FakeSystem system_;
};

}  // namespace glimmer::contract
