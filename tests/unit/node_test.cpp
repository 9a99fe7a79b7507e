#include "config/node.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/text.h"

namespace glimmer {
namespace {

class NodeTree : public testing::Test {
 protected:
  Node tree_;
};

TEST_F(NodeTree, LookupCreatesWhatIsMissing) {
  EXPECT_EQ(0, tree_["ShowFPS"].AsInt());
  EXPECT_TRUE(tree_.Has("ShowFPS", ValueType::Unset));
  EXPECT_FALSE(tree_.Has("ShowFPS", ValueType::Int));

  tree_[u"a/b/c"] = 4;
  EXPECT_TRUE(tree_.Has(u"a", ValueType::Subtree));
  EXPECT_TRUE(tree_.Has(u"a/b", ValueType::Subtree));
  EXPECT_EQ(4, tree_[u"a"].AsSubtree()->children.at(u"b").AsSubtree()->children.at(u"c").AsInt());

  // A trailing "/" names the key itself; a leading one the empty key.
  EXPECT_EQ(&tree_[u"ShowFPS"], &tree_[u"ShowFPS/"]);
  tree_[u"/x"] = 1;
  EXPECT_EQ(1, tree_[u""].AsSubtree()->children.at(u"x").AsInt());
  EXPECT_EQ(&tree_[u""], &tree_[""]);
}

TEST_F(NodeTree, PathThroughAValueThrowsAndChangesNothing) {
  tree_[u"a"] = 5;
  tree_[u"u"];
  for (const char16_t* path : {u"a/b", u"a/b/c", u"u/b"}) {
    EXPECT_THROW(tree_[path], Node::KeyNotFound) << "path " << ToUtf8(path);
    EXPECT_FALSE(tree_.Has(path, ValueType::Unset));
  }
  EXPECT_EQ(2u, tree_.children.size());
  EXPECT_EQ(5, tree_[u"a"].AsInt());
}

TEST_F(NodeTree, KeysIterateInCodeUnitOrder) {
  // U+FF21 sorts after the surrogate pair of U+10000 by code units, before it by code points.
  for (const char16_t* key : {u"ShowFPS", u"ShowBlackScreens", u"\U00010000", u"DisableSound",
                              u"\uFF21", u"Show", u"Antialiasing", u"", u"antialiasing"})
    tree_[key] = 1;
  std::vector<std::u16string> order;
  for (const auto& [key, value] : tree_.children) order.push_back(key);
  EXPECT_EQ((std::vector<std::u16string>{u"", u"Antialiasing", u"DisableSound", u"Show",
                                         u"ShowBlackScreens", u"ShowFPS", u"antialiasing",
                                         u"\U00010000", u"\uFF21"}),
            order);
}

TEST_F(NodeTree, AccessorsReadOnlyTheirOwnType) {
  tree_["i"] = -1;
  tree_["f"] = 1.0f;
  tree_["s"] = u"7";
  tree_["t"] = Node::Value(std::make_unique<Node>());
  tree_["u"];
  EXPECT_EQ(0xFFFFFFFFu, tree_["i"].AsUInt());
  EXPECT_TRUE(tree_["i"].AsBool());
  EXPECT_FALSE(tree_["f"].AsBool());
  EXPECT_EQ(0, tree_["f"].AsInt());
  EXPECT_EQ(0, tree_["s"].AsInt());
  EXPECT_EQ(0.0f, tree_["i"].AsFloat());
  EXPECT_EQ(u"", tree_["i"].AsString());
  EXPECT_EQ("", tree_["i"].AsUtf8());
  EXPECT_EQ(nullptr, tree_["s"].AsSubtree());
  EXPECT_NE(nullptr, tree_["t"].AsSubtree());
  EXPECT_EQ(u"", tree_["t"].AsString());
  EXPECT_EQ(0, tree_["u"].AsInt());

  tree_["s"] = 3;
  EXPECT_EQ(u"", tree_["s"].AsString());
  EXPECT_EQ(3, tree_["s"].AsInt());

  tree_["Language"] = u"Fran\u00e7ais";
  EXPECT_EQ(
      "Fran\xc3\xa7"
      "ais",
      tree_["Language"].AsUtf8());
  tree_
      ["Fran\xc3\xa7"
       "ais/x"] = u"x";
  EXPECT_EQ(u"x", tree_[u"Fran\u00e7ais/x"].AsString());
  EXPECT_EQ(ValueType::Unset, Node::Value(std::unique_ptr<Node>()).type);
  EXPECT_EQ(u"", Node::Value(static_cast<const char16_t*>(nullptr)).AsString());
}

TEST_F(NodeTree, ReplacingASubtreeByAValueFromInsideIt) {
  tree_[u"a/b"] = u"kept";
  Node::Value& a = tree_[u"a"];
  a = std::move(a.AsSubtree()->children.at(u"b"));
  EXPECT_EQ(u"kept", tree_[u"a"].AsString());
}

TEST_F(NodeTree, GetWithFallback) {
  EXPECT_EQ(&tree_["Second"], &tree_.GetWithFallback("First", "Second"));
  EXPECT_TRUE(tree_.Has("First", ValueType::Unset));
  tree_["Second"] = 2;
  EXPECT_EQ(2, tree_.GetWithFallback(u"First", u"Second").AsInt());
  tree_["First"] = u"";
  EXPECT_EQ(&tree_["First"], &tree_.GetWithFallback(u"First", u"Second"));
}

}  // namespace
}  // namespace glimmer
