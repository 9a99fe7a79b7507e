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

constexpr RegKey kRoot = kHkeyLocalMachine;
const std::u16string kKey = u"Software\\Vellumark\\Glimmerdale 3D Screensaver";
const std::u16string kCopy = u"Software\\Vellumark\\Copy";

std::vector<std::uint8_t> Bytes(std::u16string_view text) { return RegistryBytesFromText(text); }

class NodeRegistry : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry_.OpenHandleCount()) << "a key was left open"; }

  void Put(std::u16string_view name, std::u16string_view text, std::u16string_view sub = u"") {
    registry_.PutString(kRoot, kKey + std::u16string(sub), name, text);
  }
  std::optional<std::u16string> Text(const std::u16string& path, std::u16string_view name) {
    auto raw = registry_.Get(kRoot, path, name);
    if (!raw) return std::nullopt;
    EXPECT_EQ(kRegSz, raw->type);
    return std::u16string(reinterpret_cast<const char16_t*>(raw->data.data()),
                          raw->data.size() / 2);
  }
  bool Load() { return tree_.LoadFromRegistry(kRoot, kKey); }

  fakes::FakeRegistry registry_;
  fakes::FakeSystem system_;
  ScopedPorts ports_{Ports{&registry_, &system_}};
  Node tree_;
};

struct LoadCase {
  std::u16string text;
  ValueType type;
  double number;
  std::u16string string = u"";
};

TEST_F(NodeRegistry, ValueTextsLoad) {
  const double max = std::numeric_limits<std::int32_t>::max();
  const double min = std::numeric_limits<std::int32_t>::min();
  const double inf = std::numeric_limits<double>::infinity();
  const LoadCase cases[] = {
      {u"2: 15", ValueType::Int, 15},
      {u"2: 010", ValueType::Int, 8},
      {u"2: 0x1F", ValueType::Int, 31},
      {u"2: 12abc", ValueType::Int, 12},
      {u"2: -0X10", ValueType::Int, -16},
      {u"2: +7", ValueType::Int, 7},
      {u"2: 08", ValueType::Int, 0},
      {u"2: 0xg", ValueType::Int, 0},
      {u"2: \t 9", ValueType::Int, 9},
      {u"2: 2147483647", ValueType::Int, max},
      {u"2: -2147483648", ValueType::Int, min},
      {u"2: 99999999999", ValueType::Int, max},
      {u"2: -0x80000001", ValueType::Int, min},
      {u"1: 2.5", ValueType::Float, 2.5},
      {u"1: -0.125x", ValueType::Float, -0.125},
      {u"1: 1e3", ValueType::Float, 1000},
      {u"1: 0x1.8p1", ValueType::Float, 3},
      {u"1: .5", ValueType::Float, 0.5},
      {u"1: +2.", ValueType::Float, 2},
      {u"1: 16777217", ValueType::Float, 16777216},
      {u"1: 1e50", ValueType::Float, inf},
      {u"1: -1e50", ValueType::Float, -inf},
      {u"1: 1e-50", ValueType::Float, 0},
      {u"1: 0x", ValueType::Float, 0},
      {u"3:   text", ValueType::String, 0, u"text"},
      {u"3: a\tb", ValueType::String, 0, u"a"},
      {u"3: \t a b ", ValueType::String, 0, u"a b "},
      {u"3:  ", ValueType::String, 0, u""},
  };
  for (const auto& c : cases) Put(c.text, c.text);
  // The registry type is not looked at; the text ends at a NUL or before an odd last byte.
  registry_.Put(kRoot, kKey, u"binary", kRegBinary, Bytes(u"2: 7"));
  registry_.Put(kRoot, kKey, u"nul", kRegSz, Bytes(std::u16string(u"2: 5\0 99", 8)));
  auto odd = Bytes(u"3: ab");
  odd.push_back('c');
  registry_.Put(kRoot, kKey, u"odd", kRegSz, odd);

  ASSERT_TRUE(Load());
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    const Node::Value& value = tree_[c.text];
    EXPECT_EQ(c.type, value.type);
    EXPECT_EQ(static_cast<std::int32_t>(c.type == ValueType::Int ? c.number : 0), value.AsInt());
    EXPECT_EQ(static_cast<float>(c.type == ValueType::Float ? c.number : 0), value.AsFloat());
    EXPECT_EQ(c.string, value.AsString());
  }
  EXPECT_EQ(7, tree_["binary"].AsInt());
  EXPECT_EQ(5, tree_["nul"].AsInt());
  EXPECT_EQ(u"ab", tree_["odd"].AsString());
}

TEST_F(NodeRegistry, ValuesWithoutAValueTextAreSkipped) {
  tree_["Keep"] = 1;
  for (const char16_t* text : {u"C:\\Games", u"4: x", u"0: 1", u"2:5", u"2 : 5", u"2:\t5", u""})
    Put(text, text);
  Put(u"Keep", u"C:\\Games");
  ASSERT_TRUE(Load());
  EXPECT_EQ(1u, tree_.children.size());
  EXPECT_EQ(1, tree_["Keep"].AsInt());
}

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

TEST_F(NodeRegistry, LoadingMergesOverDefaults) {
  tree_["Kept"] = 9;
  tree_["A"] = 1;
  tree_["Sub"] = u"replaced by the subkey";
  tree_["X"] = Node::Value(std::make_unique<Node>());
  Put(u"A", u"1: 2.5");
  Put(u"v", u"2: 7", u"\\Sub");
  Put(u"X", u"2: 3");  // values come after subkeys, so this one wins over the subtree
  registry_.PutKey(kRoot, kKey + u"\\X");
  ASSERT_TRUE(Load());
  EXPECT_EQ(9, tree_["Kept"].AsInt());
  EXPECT_EQ(2.5f, tree_["A"].AsFloat());
  EXPECT_EQ(7, tree_[u"Sub/v"].AsInt());
  EXPECT_EQ(3, tree_["X"].AsInt());
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
  registry_.Deny(kRoot, kKey + u"\\B", kKeyQueryValue);
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

TEST_F(NodeRegistry, NameAndDataLimits) {
  const std::u16string longest(2047, u'n');
  Put(longest, u"2: 1");
  Put(longest + u"n", u"2: 2");
  Put(u"fits", u"3: " + std::u16string(2045, u'd'));
  Put(u"too long", u"3: " + std::u16string(2046, u'd'));
  Put(u"after", u"2: 3");
  ASSERT_TRUE(Load());
  EXPECT_EQ(1, tree_[longest].AsInt());
  EXPECT_FALSE(tree_.Has(longest + u"n", ValueType::Int));
  EXPECT_EQ(2045u, tree_["fits"].AsString().size());
  EXPECT_FALSE(tree_.Has("too long", ValueType::String));
  EXPECT_EQ(3, tree_["after"].AsInt());
}

TEST_F(NodeRegistry, SaveWritesValueTexts) {
  Put(u"Language", u"3: de");
  tree_["MusicVolumePercentage"] = 15;
  tree_["X"] = 0.5f;
  tree_["Language"] = u"";
  tree_["Unset"];
  tree_["Neg"] = -1;
  tree_["Min"] = std::numeric_limits<std::int32_t>::min();
  tree_["Tiny"] = 1e-7f;
  tree_["Lowest"] = std::numeric_limits<float>::lowest();
  tree_["Inf"] = std::numeric_limits<float>::infinity();
  ASSERT_TRUE(tree_.SaveToRegistry(kRoot, kKey));

  EXPECT_EQ((std::vector<std::u16string>{u"Language", u"Inf", u"Lowest", u"Min",
                                         u"MusicVolumePercentage", u"Neg", u"Tiny", u"X"}),
            registry_.ValueNames(kRoot, kKey));
  EXPECT_EQ(10u, registry_.Get(kRoot, kKey, u"MusicVolumePercentage")->data.size());
  EXPECT_EQ(u"2: 15", Text(kKey, u"MusicVolumePercentage"));
  EXPECT_EQ(u"1: 0.500000", Text(kKey, u"X"));
  EXPECT_EQ(u"3: de", Text(kKey, u"Language"));
  EXPECT_EQ(u"2: -1", Text(kKey, u"Neg"));
  EXPECT_EQ(u"2: -2147483648", Text(kKey, u"Min"));
  EXPECT_EQ(u"1: 0.000000", Text(kKey, u"Tiny"));
  EXPECT_EQ(u"1: -340282346638528859811704183484516925440.000000", Text(kKey, u"Lowest"));
  EXPECT_EQ(u"1: inf", Text(kKey, u"Inf"));
}

TEST_F(NodeRegistry, LongStringsAreWrittenWholeOrRefused) {
  tree_["s0060"] = std::u16string(60, u'x');
  tree_["s0061"] = std::u16string(61, u'x');
  tree_["s2045"] = std::u16string(2045, u'x');
  tree_["s2046"] = std::u16string(2046, u'x');
  tree_["t"] = 1;
  EXPECT_FALSE(tree_.SaveToRegistry(kRoot, kKey));
  EXPECT_EQ((std::vector<std::u16string>{u"s0060", u"s0061", u"s2045"}),
            registry_.ValueNames(kRoot, kKey));

  Node loaded;
  ASSERT_TRUE(loaded.LoadFromRegistry(kRoot, kKey));
  for (const char* name : {"s0060", "s0061", "s2045"})
    EXPECT_EQ(tree_[name].AsString(), loaded[name].AsString()) << name;
}

TEST_F(NodeRegistry, SaveStopsAtTheFirstFailure) {
  registry_.Deny(kRoot, kKey, kKeySetValue);
  tree_["a"] = 1;
  EXPECT_FALSE(tree_.SaveToRegistry(kRoot, kKey));
  EXPECT_FALSE(registry_.HasKey(kRoot, kKey));

  tree_["b"] = 2;
  registry_.FailNext("SetValue", kErrorAccessDenied);
  EXPECT_FALSE(tree_.SaveToRegistry(kRoot, kCopy));
  EXPECT_TRUE(registry_.ValueNames(kRoot, kCopy).empty());

  tree_["c/x"] = 3;
  tree_["d"] = 4;
  registry_.Deny(kRoot, kCopy + u"\\c", kKeySetValue);
  EXPECT_FALSE(tree_.SaveToRegistry(kRoot, kCopy));
  EXPECT_EQ((std::vector<std::u16string>{u"a", u"b"}), registry_.ValueNames(kRoot, kCopy));
}

TEST_F(NodeRegistry, SubkeysRoundTrip) {
  Put(u"v", u"2: 7", u"\\Sub");
  ASSERT_TRUE(Load());
  ASSERT_TRUE(tree_.SaveToRegistry(kRoot, kCopy));
  EXPECT_EQ(u"2: 7", Text(kCopy + u"\\Sub", u"v"));
}

TEST_F(NodeRegistry, The64BitViewIsUsedUnderWow64) {
  for (bool wow64 : {false, true}) {
    SCOPED_TRACE(wow64 ? "under WOW64" : "native");
    fakes::FakeRegistry registry(wow64);
    system_.wow64 = wow64;
    ScopedPorts ports(Ports{&registry, &system_});
    registry.PutString(kRoot, kKey + u"\\Sub", u"n", u"2: 64", View::Native);
    registry.PutString(kRoot, kKey + u"\\Sub", u"n", u"2: 32", View::Redirected32);

    Node tree;
    ASSERT_TRUE(tree.LoadFromRegistry(kRoot, kKey));
    EXPECT_EQ(64, tree[u"Sub/n"].AsInt());
    ASSERT_TRUE(tree.SaveToRegistry(kRoot, kCopy));
    EXPECT_TRUE(registry.Get(kRoot, kCopy + u"\\Sub", u"n", View::Native));
    EXPECT_FALSE(registry.HasKey(kRoot, kCopy, View::Redirected32));

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
