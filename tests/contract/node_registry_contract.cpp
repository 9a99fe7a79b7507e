#include "contract/node_registry_contract.h"

#include <algorithm>
#include <limits>

#include "platform/registry.h"
#include "platform/text.h"

namespace glimmer::contract {
namespace {

std::vector<std::uint8_t> TextBytes(std::u16string_view text) {
  return RegistryBytesFromText(text);
}

struct LoadCase {
  std::u16string text;
  ValueType type;
  double number;
  std::u16string string = u"";
};

}  // namespace

std::u16string NodeRegistryContract::Below(std::u16string_view name, std::u16string_view sub) {
  std::u16string key = std::u16string(kScratch) + u"\\" + std::u16string(name);
  if (!sub.empty()) key += u"\\" + std::u16string(sub);
  return key;
}

std::u16string NodeRegistryContract::Key(std::u16string_view sub) { return Below(u"Tree", sub); }

std::u16string NodeRegistryContract::Copy(std::u16string_view sub) { return Below(u"Copy", sub); }

void NodeRegistryContract::Put(std::u16string_view name, std::u16string_view text,
                               std::u16string_view sub) {
  RegKey key = 0;
  ASSERT_EQ(kErrorSuccess, registry_->CreateKey(kHkeyCurrentUser, Key(sub), kKeyAllAccess, key));
  RegKeyOwner owner(*registry_, key);
  SetRaw(key, name, kRegSz, TextBytes(text));
}

void NodeRegistryContract::PutRaw(std::u16string_view name, std::uint32_t type,
                                  const std::vector<std::uint8_t>& data) {
  RegKey key = 0;
  ASSERT_EQ(kErrorSuccess, registry_->CreateKey(kHkeyCurrentUser, Key(), kKeyAllAccess, key));
  RegKeyOwner owner(*registry_, key);
  SetRaw(key, name, type, data);
}

std::optional<std::u16string> NodeRegistryContract::Text(const std::u16string& key,
                                                         std::u16string_view name) {
  RegKey opened = 0;
  if (registry_->OpenKey(kHkeyCurrentUser, key, kKeyRead, opened) != kErrorSuccess)
    return std::nullopt;
  RegKeyOwner owner(*registry_, opened);
  std::vector<std::uint8_t> data(8192, 0xEE);
  std::uint32_t type = 0;
  auto size = static_cast<std::uint32_t>(data.size());
  if (registry_->QueryValue(opened, name, &type, data.data(), &size) != kErrorSuccess)
    return std::nullopt;
  EXPECT_EQ(kRegSz, type);
  return std::u16string(reinterpret_cast<const char16_t*>(data.data()), size / 2);
}

// Sorted: the order of enumeration is the registry's own.
std::vector<std::u16string> NodeRegistryContract::ValueNames(const std::u16string& key) {
  std::vector<std::u16string> names;
  RegKey opened = 0;
  if (registry_->OpenKey(kHkeyCurrentUser, key, kKeyRead, opened) != kErrorSuccess) return names;
  RegKeyOwner owner(*registry_, opened);
  for (std::uint32_t index = 0;; ++index) {
    char16_t name[2048];
    std::uint32_t length = 2048;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry_->EnumValue(opened, index, name, &length, &type, nullptr, &size) != kErrorSuccess)
      break;
    names.emplace_back(name, length);
  }
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

TEST_P(NodeRegistryContract, ValueTextsLoad) {
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
  PutRaw(u"binary", kRegBinary, TextBytes(u"2: 7"));
  PutRaw(u"nul", kRegSz, TextBytes(std::u16string(u"2: 5\0 99", 8)));
  auto odd = TextBytes(u"3: ab");
  odd.push_back('c');
  PutRaw(u"odd", kRegSz, odd);

  ASSERT_TRUE(Load(tree_, Key()));
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

TEST_P(NodeRegistryContract, ValuesWithoutAValueTextAreSkipped) {
  tree_["Keep"] = 1;
  for (const char16_t* text : {u"C:\\Games", u"4: x", u"0: 1", u"2:5", u"2 : 5", u"2:\t5", u""})
    Put(text, text);
  Put(u"Keep", u"C:\\Games");
  ASSERT_TRUE(Load(tree_, Key()));
  EXPECT_EQ(1u, tree_.children.size());
  EXPECT_EQ(1, tree_["Keep"].AsInt());
}

TEST_P(NodeRegistryContract, NameAndDataLimits) {
  const std::u16string longest(2047, u'n');
  Put(longest, u"2: 1");
  Put(longest + u"n", u"2: 2");
  Put(u"fits", u"3: " + std::u16string(2045, u'd'));
  Put(u"too long", u"3: " + std::u16string(2046, u'd'));
  Put(u"after", u"2: 3");
  ASSERT_TRUE(Load(tree_, Key()));
  EXPECT_EQ(1, tree_[longest].AsInt());
  EXPECT_FALSE(tree_.Has(longest + u"n", ValueType::Int));
  EXPECT_EQ(2045u, tree_["fits"].AsString().size());
  EXPECT_FALSE(tree_.Has("too long", ValueType::String));
  EXPECT_EQ(3, tree_["after"].AsInt());
}

TEST_P(NodeRegistryContract, SaveWritesValueTexts) {
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
  tree_["NaN"] = std::numeric_limits<float>::quiet_NaN();
  ASSERT_TRUE(Save(tree_, Key()));

  EXPECT_EQ((std::vector<std::u16string>{u"Inf", u"Language", u"Lowest", u"Min",
                                         u"MusicVolumePercentage", u"NaN", u"Neg", u"Tiny", u"X"}),
            ValueNames(Key()));
  EXPECT_EQ(u"2: 15", Text(Key(), u"MusicVolumePercentage")) << "no terminator is stored";
  EXPECT_EQ(u"1: 0.500000", Text(Key(), u"X"));
  EXPECT_EQ(u"3: de", Text(Key(), u"Language"));
  EXPECT_EQ(u"2: -1", Text(Key(), u"Neg"));
  EXPECT_EQ(u"2: -2147483648", Text(Key(), u"Min"));
  EXPECT_EQ(u"1: 0.000000", Text(Key(), u"Tiny"));
  EXPECT_EQ(u"1: -340282346638528859811704183484516925440.000000", Text(Key(), u"Lowest"));
  EXPECT_EQ(u"1: inf", Text(Key(), u"Inf"));
  EXPECT_EQ(u"1: nan", Text(Key(), u"NaN"));
}

TEST_P(NodeRegistryContract, LongStringsAreWrittenWholeOrRefused) {
  tree_["s0060"] = std::u16string(60, u'x');
  tree_["s0061"] = std::u16string(61, u'x');
  tree_["s2045"] = std::u16string(2045, u'x');
  tree_["s2046"] = std::u16string(2046, u'x');
  tree_["t"] = 1;
  EXPECT_FALSE(Save(tree_, Key()));
  EXPECT_EQ((std::vector<std::u16string>{u"s0060", u"s0061", u"s2045"}), ValueNames(Key()));

  Node loaded;
  ASSERT_TRUE(Load(loaded, Key()));
  for (const char* name : {"s0060", "s0061", "s2045"})
    EXPECT_EQ(tree_[name].AsString(), loaded[name].AsString()) << name;
}

TEST_P(NodeRegistryContract, SubkeysRoundTrip) {
  Put(u"v", u"2: 7", u"Sub");
  ASSERT_TRUE(Load(tree_, Key()));
  ASSERT_TRUE(Save(tree_, Copy()));
  EXPECT_EQ(u"2: 7", Text(Copy(u"Sub"), u"v"));
}

TEST_P(NodeRegistryContract, LoadingMergesOverDefaults) {
  tree_["Kept"] = 9;
  tree_["A"] = 1;
  tree_["Sub"] = u"replaced by the subkey";
  tree_["X"] = Node::Value(std::make_unique<Node>());
  Put(u"A", u"1: 2.5");
  Put(u"v", u"2: 7", u"Sub");
  Put(u"X", u"2: 3");  // values come after subkeys, so this one wins over the subtree
  Create(u"Tree\\X");
  ASSERT_TRUE(Load(tree_, Key()));
  EXPECT_EQ(9, tree_["Kept"].AsInt());
  EXPECT_EQ(2.5f, tree_["A"].AsFloat());
  EXPECT_EQ(7, tree_[u"Sub/v"].AsInt());
  EXPECT_EQ(3, tree_["X"].AsInt());
}

TEST_P(NodeRegistryContract, SaveAndLoadRoundTrip) {
  Put(u"Language", u"3: de");
  tree_["MusicVolumePercentage"] = 15;
  tree_["X"] = -0.5f;
  tree_["Language"] = u"";
  tree_["Unset"];
  tree_[u"Title \u00e9\u4e2d"] = std::u16string(100, u'\u00e9');
  // The nested keys are created below a key opened with KEY_SET_VALUE alone.
  tree_["Sub/Deeper/n"] = 7;
  ASSERT_TRUE(Save(tree_, Key()));
  EXPECT_EQ(u"1: -0.500000", Text(Key(), u"X"));
  EXPECT_EQ(std::nullopt, Text(Key(), u"Unset"));
  EXPECT_EQ(u"2: 7", Text(Key(u"Sub\\Deeper"), u"n"));

  Node loaded;
  loaded["Default"] = 1;
  ASSERT_TRUE(Load(loaded, Key()));
  EXPECT_EQ(15, loaded["MusicVolumePercentage"].AsInt());
  EXPECT_EQ(-0.5f, loaded["X"].AsFloat());
  EXPECT_EQ(u"de", loaded["Language"].AsString());
  EXPECT_EQ(std::u16string(100, u'\u00e9'), loaded[u"Title \u00e9\u4e2d"].AsString());
  EXPECT_EQ(7, loaded["Sub/Deeper/n"].AsInt());
  EXPECT_EQ(1, loaded["Default"].AsInt());
  EXPECT_FALSE(Node().LoadFromRegistry(*registry_, kHkeyCurrentUser, Key(u"Missing"), false));
}

}  // namespace

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(NodeRegistryContract);

}  // namespace glimmer::contract
