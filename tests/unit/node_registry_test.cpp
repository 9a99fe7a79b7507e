#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "config/node.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "platform/ports.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace glimmer {
namespace {

using View = fakes::FakeRegistry::View;

constexpr RegKey kTreeRoot = kHkeyLocalMachine;
const std::u16string kTreeKey = u"Software\\Vellumark\\Glimmerdale 3D Screensaver";
const std::u16string kTreeCopy = u"Software\\Vellumark\\Copy";

class NodeRegistry : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry_.OpenHandleCount()) << "a key was left open"; }

  void Put(std::u16string_view name, std::u16string_view text, std::u16string_view sub = u"") {
    registry_.PutString(kTreeRoot, kTreeKey + std::u16string(sub), name, text);
  }
  std::optional<std::u16string> Text(const std::u16string& path, std::u16string_view name) {
    auto raw = registry_.Get(kTreeRoot, path, name);
    if (!raw) return std::nullopt;
    EXPECT_EQ(kRegSz, raw->type);
    return std::u16string(reinterpret_cast<const char16_t*>(raw->data.data()),
                          raw->data.size() / 2);
  }
  bool Load() { return tree_.LoadFromRegistry(registry_, kTreeRoot, kTreeKey, false); }

  fakes::FakeRegistry registry_;
  Node tree_;
};

TEST_F(NodeRegistry, ATextWithoutANumberStoresTheLastNumberReadInThatKey) {
  Put(u"n", u"2: 42", u"\\Sub");  // subkeys load first, with numbers of their own
  Put(u"a", u"2: x");
  Put(u"b", u"1: -");
  Put(u"c", u"2: 100");
  Put(u"d", u"1: 2.5");
  Put(u"e", u"2: ");
  Put(u"f", u"1: nothing");
  ASSERT_TRUE(Load());
  EXPECT_TRUE(tree_.Has("a", ValueType::Int)) << "a failed read still stores a number";
  EXPECT_EQ(0, tree_["a"].AsInt());
  EXPECT_EQ(ValueType::Float, tree_["b"].type);
  EXPECT_EQ(0.0f, tree_["b"].AsFloat());
  EXPECT_EQ(100, tree_["e"].AsInt());
  EXPECT_EQ(2.5f, tree_["f"].AsFloat());
}

TEST_F(NodeRegistry, NamesThatAreUnusablePathsAreSkipped) {
  tree_["Vol"] = 5;
  tree_["Unset"];
  Put(u"Vol/x", u"2: 1");
  Put(u"Unset/x", u"2: 1");
  Put(u"a/b", u"2: 2");
  Put(u"After", u"2: 3");
  Put(u"v", u"2: 4", u"\\Vol/sub");
  Put(u"v", u"2: 6", u"\\Z/z");
  ASSERT_TRUE(Load());
  EXPECT_EQ(5, tree_["Vol"].AsInt());
  EXPECT_TRUE(tree_.Has("Unset", ValueType::Unset));
  EXPECT_EQ(2, tree_["a/b"].AsInt());
  EXPECT_EQ(3, tree_["After"].AsInt());
  EXPECT_EQ(6, tree_["Z/z/v"].AsInt());
  EXPECT_EQ(5u, tree_.children.size());
}

TEST_F(NodeRegistry, LoadFailures) {
  tree_["Default"] = 1;
  EXPECT_FALSE(Load()) << "missing key";

  Put(u"V", u"2: 5");
  Put(u"v", u"2: 1", u"\\A");
  Put(u"v", u"2: 2", u"\\B");
  Put(u"v", u"2: 3", u"\\C");
  registry_.FailNext("QueryInfoKey", kErrorAccessDenied);
  EXPECT_FALSE(Load());
  EXPECT_EQ(1u, tree_.children.size());

  // A subkey that cannot be opened ends the load; what came before it stays.
  registry_.Deny(kTreeRoot, kTreeKey + u"\\B", kKeyQueryValue);
  EXPECT_FALSE(Load());
  EXPECT_EQ(1, tree_["A/v"].AsInt());
  EXPECT_FALSE(tree_.Has("C", ValueType::Subtree));
  EXPECT_FALSE(tree_.Has("V", ValueType::Int));

  // Only the subkey loop ends when enumerating fails.
  registry_.FailNext("EnumKey", kErrorAccessDenied);
  EXPECT_TRUE(Load());
  EXPECT_EQ(5, tree_["V"].AsInt());
  EXPECT_FALSE(tree_.Has("C", ValueType::Subtree));
}

TEST_F(NodeRegistry, SaveStopsAtTheFirstFailure) {
  registry_.Deny(kTreeRoot, kTreeKey, kKeySetValue);
  tree_["a"] = 1;
  EXPECT_FALSE(tree_.SaveToRegistry(registry_, kTreeRoot, kTreeKey, false));
  EXPECT_FALSE(registry_.HasKey(kTreeRoot, kTreeKey));

  tree_["b"] = 2;
  registry_.FailNext("SetValue", kErrorAccessDenied);
  EXPECT_FALSE(tree_.SaveToRegistry(registry_, kTreeRoot, kTreeCopy, false));
  EXPECT_TRUE(registry_.ValueNames(kTreeRoot, kTreeCopy).empty());

  tree_["c/x"] = 3;
  tree_["d"] = 4;
  registry_.Deny(kTreeRoot, kTreeCopy + u"\\c", kKeySetValue);
  EXPECT_FALSE(tree_.SaveToRegistry(registry_, kTreeRoot, kTreeCopy, false));
  EXPECT_EQ((std::vector<std::u16string>{u"a", u"b"}), registry_.ValueNames(kTreeRoot, kTreeCopy));
}

// The caller decides the view; every subkey is opened and created in it.
TEST_F(NodeRegistry, TheViewGivenReachesEverySubkey) {
  for (bool wow64 : {false, true}) {
    SCOPED_TRACE(wow64 ? "under WOW64" : "native");
    fakes::FakeRegistry registry(wow64);
    registry.PutString(kTreeRoot, kTreeKey + u"\\Sub", u"n", u"2: 64", View::Native);
    registry.PutString(kTreeRoot, kTreeKey + u"\\Sub", u"n", u"2: 32", View::Redirected32);

    Node tree;
    ASSERT_TRUE(tree.LoadFromRegistry(registry, kTreeRoot, kTreeKey, wow64));
    EXPECT_EQ(64, tree[u"Sub/n"].AsInt());
    ASSERT_TRUE(tree.SaveToRegistry(registry, kTreeRoot, kTreeCopy, wow64));
    EXPECT_TRUE(registry.Get(kTreeRoot, kTreeCopy + u"\\Sub", u"n", View::Native));
    EXPECT_FALSE(registry.HasKey(kTreeRoot, kTreeCopy, View::Redirected32));

    const std::uint32_t view = wow64 ? kKeyWow64_64Key : 0;
    std::vector<std::uint32_t> rights;
    for (const auto& access : registry.AccessLog()) rights.push_back(access.access);
    EXPECT_EQ((std::vector<std::uint32_t>{kKeyRead | view, kKeyRead | view, kKeySetValue | view,
                                          kKeySetValue | view}),
              rights);
    EXPECT_EQ(0u, registry.OpenHandleCount());
  }
}

}  // namespace
}  // namespace glimmer
