// The tree's registry form against the real registry where only the platform
// can tell: the user's locale. The cases the fake shares are the node
// registry contract (tests/contract).
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "config/node.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "win32/registry_win32.h"

namespace glimmer {
namespace {

class NodeRegistryWine : public testing::Test {
 protected:
  void SetUp() override {
    key_ = u"Software\\Vellumark\\GlimmerdaleTests\\" +
           AsciiToUtf16(testing::UnitTest::GetInstance()->current_test_info()->name());
    registry_.DeleteTree(kHkeyCurrentUser, key_, 0);
  }
  void TearDown() override { registry_.DeleteTree(kHkeyCurrentUser, key_, 0); }

  void PutRaw(std::u16string_view name, const std::vector<std::uint8_t>& data) {
    RegKey key = 0;
    ASSERT_EQ(kErrorSuccess, registry_.CreateKey(kHkeyCurrentUser, key_, kKeyAllAccess, key));
    RegKeyOwner owner(registry_, key);
    ASSERT_EQ(kErrorSuccess, registry_.SetValue(key, name, kRegSz, data.data(),
                                                static_cast<std::uint32_t>(data.size())));
  }
  void Put(std::u16string_view name, std::u16string_view text) {
    PutRaw(name, RegistryBytesFromText(text));
  }
  // The stored bytes as code units, or "missing".
  std::u16string Stored(std::u16string_view path, std::u16string_view name) {
    RegKey key = 0;
    if (registry_.OpenKey(kHkeyCurrentUser, path, kKeyRead, key) != kErrorSuccess)
      return u"missing";
    RegKeyOwner owner(registry_, key);
    std::vector<std::uint8_t> data(8192, 0xEE);
    std::uint32_t type = 0;
    auto size = static_cast<std::uint32_t>(data.size());
    if (registry_.QueryValue(key, name, &type, data.data(), &size) != kErrorSuccess)
      return u"missing";
    EXPECT_EQ(kRegSz, type);
    return std::u16string(reinterpret_cast<const char16_t*>(data.data()), size / 2);
  }

  win32::Win32Registry registry_;
  std::u16string key_;
};

TEST_F(NodeRegistryWine, NumbersIgnoreTheUserLocale) {
  if (!std::setlocale(LC_ALL, "German_Germany.1252")) GTEST_SKIP() << "no German locale";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  Put(u"Read", u"1: 2.5");
  Node tree;
  tree["Written"] = 0.5f;
  const bool saved = tree.SaveToRegistry(registry_, kHkeyCurrentUser, key_, false);
  const bool loaded = tree.LoadFromRegistry(registry_, kHkeyCurrentUser, key_, false);
  std::setlocale(LC_ALL, "C");
  EXPECT_STREQ("0,5", probe) << "the locale should use a decimal comma";
  ASSERT_TRUE(saved && loaded);
  EXPECT_EQ(u"1: 0.500000", Stored(key_, u"Written"));
  EXPECT_EQ(2.5f, tree["Read"].AsFloat());
}

}  // namespace
}  // namespace glimmer
