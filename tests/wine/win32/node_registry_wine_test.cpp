// The tree's registry form against the real registry: what the fake stands in
// for natively, checked where the platform's own limits apply.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "config/node.h"
#include "platform/ports.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "win32/registry_win32.h"
#include "win32/system_win32.h"

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
  win32::Win32System system_;
  ScopedPorts ports_{Ports{&registry_, &system_}};
  std::u16string key_;
};

TEST_F(NodeRegistryWine, SaveAndLoadRoundTrip) {
  Put(u"Language", u"3: de");
  Node tree;
  tree["MusicVolumePercentage"] = 15;
  tree["X"] = -0.5f;
  tree["Language"] = u"";
  tree["Unset"];
  tree[u"Title \u00e9\u4e2d"] = std::u16string(100, u'\u00e9');
  // The nested keys are created below a key opened with KEY_SET_VALUE alone.
  tree["Sub/Deeper/n"] = 7;
  ASSERT_TRUE(tree.SaveToRegistry(kHkeyCurrentUser, key_));

  EXPECT_EQ(u"2: 15", Stored(key_, u"MusicVolumePercentage")) << "no terminator is stored";
  EXPECT_EQ(u"1: -0.500000", Stored(key_, u"X"));
  EXPECT_EQ(u"3: de", Stored(key_, u"Language"));
  EXPECT_EQ(u"missing", Stored(key_, u"Unset"));
  EXPECT_EQ(u"2: 7", Stored(key_ + u"\\Sub\\Deeper", u"n"));

  Node loaded;
  loaded["Default"] = 1;
  ASSERT_TRUE(loaded.LoadFromRegistry(kHkeyCurrentUser, key_));
  EXPECT_EQ(15, loaded["MusicVolumePercentage"].AsInt());
  EXPECT_EQ(-0.5f, loaded["X"].AsFloat());
  EXPECT_EQ(u"de", loaded["Language"].AsString());
  EXPECT_EQ(std::u16string(100, u'\u00e9'), loaded[u"Title \u00e9\u4e2d"].AsString());
  EXPECT_EQ(7, loaded["Sub/Deeper/n"].AsInt());
  EXPECT_EQ(1, loaded["Default"].AsInt());
  EXPECT_FALSE(Node().LoadFromRegistry(kHkeyCurrentUser, key_ + u"\\Missing"));
}

TEST_F(NodeRegistryWine, LoaderLimits) {
  const std::u16string longest(2047, u'n');
  Put(longest, u"2: 1");
  Put(longest + u"n", u"2: 2");
  Put(u"fits", u"3: " + std::u16string(2045, u'd'));
  Put(u"too long", u"3: " + std::u16string(2046, u'd'));
  Put(u"after", u"2: 3");

  Node tree;
  ASSERT_TRUE(tree.LoadFromRegistry(kHkeyCurrentUser, key_));
  EXPECT_EQ(1, tree[longest].AsInt());
  EXPECT_FALSE(tree.Has(longest + u"n", ValueType::Int));
  EXPECT_EQ(2045u, tree["fits"].AsString().size());
  EXPECT_FALSE(tree.Has("too long", ValueType::String));
  EXPECT_EQ(3, tree["after"].AsInt());
}

TEST_F(NodeRegistryWine, LongStringsAreWrittenWholeOrRefused) {
  Node tree;
  tree["a"] = std::u16string(61, u'x');
  tree["b"] = std::u16string(2045, u'y');
  ASSERT_TRUE(tree.SaveToRegistry(kHkeyCurrentUser, key_));
  tree["c"] = std::u16string(2046, u'z');
  EXPECT_FALSE(tree.SaveToRegistry(kHkeyCurrentUser, key_));
  EXPECT_EQ(u"missing", Stored(key_, u"c"));

  Node loaded;
  ASSERT_TRUE(loaded.LoadFromRegistry(kHkeyCurrentUser, key_));
  EXPECT_EQ(tree["a"].AsString(), loaded["a"].AsString());
  EXPECT_EQ(tree["b"].AsString(), loaded["b"].AsString());
}

TEST_F(NodeRegistryWine, NumbersIgnoreTheUserLocale) {
  if (!std::setlocale(LC_ALL, "German_Germany.1252")) GTEST_SKIP() << "no German locale";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 0.5);
  Put(u"Read", u"1: 2.5");
  Node tree;
  tree["Written"] = 0.5f;
  const bool saved = tree.SaveToRegistry(kHkeyCurrentUser, key_);
  const bool loaded = tree.LoadFromRegistry(kHkeyCurrentUser, key_);
  std::setlocale(LC_ALL, "C");
  EXPECT_STREQ("0,5", probe) << "the locale should use a decimal comma";
  ASSERT_TRUE(saved && loaded);
  EXPECT_EQ(u"1: 0.500000", Stored(key_, u"Written"));
  EXPECT_EQ(2.5f, tree["Read"].AsFloat());
}

}  // namespace
}  // namespace glimmer
