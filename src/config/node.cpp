#include "config/node.h"

#include <utility>

#include "platform/text.h"

namespace glimmer {
namespace {

struct PathSplit {
  std::u16string_view head;
  std::u16string_view rest;  // empty when the head is the last component
};

PathSplit SplitPath(std::u16string_view path) {
  const auto slash = path.find(u'/');
  if (slash == std::u16string_view::npos) return {path, {}};
  return {path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

Node::Value::Value(std::int32_t number) : intValue(number), type(ValueType::Int) {}

Node::Value::Value(float number) : floatValue(number), type(ValueType::Float) {}

Node::Value::Value(std::unique_ptr<Node> child)
    : subtree(std::move(child)), type(subtree ? ValueType::Subtree : ValueType::Unset) {}

Node::Value::Value(std::u16string text) : stringValue(std::move(text)), type(ValueType::String) {}

Node::Value::Value(const char16_t* text)
    : stringValue(text ? text : u""), type(ValueType::String) {}

Node::Value::Value(Value&& other) noexcept = default;

Node::Value& Node::Value::operator=(Value&& other) noexcept {
  Value taken(std::move(other));
  std::swap(subtree, taken.subtree);
  floatValue = taken.floatValue;
  intValue = taken.intValue;
  std::swap(stringValue, taken.stringValue);
  type = taken.type;
  return *this;
}

Node::Value::~Value() = default;

Node* Node::Value::AsSubtree() { return type == ValueType::Subtree ? subtree.get() : nullptr; }

const Node* Node::Value::AsSubtree() const {
  return type == ValueType::Subtree ? subtree.get() : nullptr;
}

float Node::Value::AsFloat() const { return type == ValueType::Float ? floatValue : 0.0f; }

std::int32_t Node::Value::AsInt() const { return type == ValueType::Int ? intValue : 0; }

std::uint32_t Node::Value::AsUInt() const { return static_cast<std::uint32_t>(AsInt()); }

bool Node::Value::AsBool() const { return type == ValueType::Int && intValue != 0; }

const std::u16string& Node::Value::AsString() const {
  static const std::u16string empty;
  return type == ValueType::String ? stringValue : empty;
}

std::string Node::Value::AsUtf8() const {
  return type == ValueType::String ? ToUtf8(stringValue) : std::string();
}

Node::Node(Node&&) noexcept = default;
Node& Node::operator=(Node&&) noexcept = default;
Node::~Node() = default;

Node::Value* Node::Lookup(std::u16string_view path) {
  Node* node = this;
  for (;;) {
    const PathSplit split = SplitPath(path);
    auto found = node->children.lower_bound(split.head);
    const bool present = found != node->children.end() && found->first == split.head;
    if (!present) {
      // Everything from here down is new, so the walk cannot fail any more.
      if (split.rest.empty())
        return &node->children.emplace_hint(found, std::u16string(split.head), Value())->second;
      Value& inner =
          node->children
              .emplace_hint(found, std::u16string(split.head), Value(std::make_unique<Node>()))
              ->second;
      node = inner.subtree.get();
    } else if (split.rest.empty()) {
      return &found->second;
    } else if (Node* child = found->second.AsSubtree()) {
      node = child;
    } else {
      return nullptr;
    }
    path = split.rest;
  }
}

Node::Value& Node::operator[](std::u16string_view path) {
  Value* value = Lookup(path);
  if (!value) throw KeyNotFound();
  return *value;
}

Node::Value& Node::operator[](std::string_view utf8Path) { return (*this)[FromUtf8(utf8Path)]; }

bool Node::Has(std::u16string_view path, ValueType type) const {
  const Node* node = this;
  for (;;) {
    const PathSplit split = SplitPath(path);
    const auto found = node->children.find(split.head);
    if (found == node->children.end()) return false;
    if (split.rest.empty()) return found->second.type == type;
    node = found->second.AsSubtree();
    if (!node) return false;
    path = split.rest;
  }
}

bool Node::Has(std::string_view utf8Path, ValueType type) const {
  return Has(FromUtf8(utf8Path), type);
}

Node::Value& Node::GetWithFallback(std::u16string_view path, std::u16string_view fallbackPath) {
  Value& value = (*this)[path];
  if (value.type != ValueType::Unset) return value;
  return (*this)[fallbackPath];
}

Node::Value& Node::GetWithFallback(std::string_view utf8Path, std::string_view utf8FallbackPath) {
  return GetWithFallback(FromUtf8(utf8Path), FromUtf8(utf8FallbackPath));
}

}  // namespace glimmer
