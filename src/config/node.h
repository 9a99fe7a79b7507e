// The typed configuration tree that holds the settings in memory, and its
// registry form (one key per node, one REG_SZ value text per number or string).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/registry_port.h"

namespace glimmer {

// The numbers are part of the saved form ("2: 15" is an Int) and must not change.
enum class ValueType : std::uint32_t { Subtree = 0, Float = 1, Int = 2, String = 3, Unset = 4 };

class Node {
 public:
  // Thrown by operator[] when a path runs through a present value that is not a
  // subtree. Nothing has been created or changed when it is thrown.
  struct KeyNotFound {};

  // One entry. Only the field named by type is meaningful; the accessors never
  // read the others, so a key saved with another type reads as 0 or empty.
  struct Value {
    Value() = default;  // Unset: what a lookup inserts for a missing key
    Value(std::int32_t number);
    Value(float number);
    Value(std::unique_ptr<Node> child);  // a null child gives an Unset value
    Value(std::u16string text);
    Value(const char16_t* text);  // null reads as the empty string
    Value(Value&& other) noexcept;
    // Replaces all five fields. The replaced subtree is destroyed only after
    // everything has been taken from other, which may live inside it.
    Value& operator=(Value&& other) noexcept;
    ~Value();

    Node* AsSubtree();
    const Node* AsSubtree() const;
    float AsFloat() const;
    std::int32_t AsInt() const;
    std::uint32_t AsUInt() const;  // the same 32 bits as AsInt, unsigned
    bool AsBool() const;
    const std::u16string& AsString() const;
    std::string AsUtf8() const;

    std::unique_ptr<Node> subtree;
    float floatValue = 0.0f;
    std::int32_t intValue = 0;
    std::u16string stringValue;
    ValueType type = ValueType::Unset;
  };

  // std::u16string compares char16_t, an unsigned type, code unit by code unit
  // with a proper prefix first: exactly the order the saved form follows.
  using Children = std::map<std::u16string, Value, std::less<>>;

  Node() = default;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  Node(Node&&) noexcept;
  Node& operator=(Node&&) noexcept;
  ~Node();

  // The value at a "/"-separated path, creating missing keys (inner ones as
  // subtrees, the last one Unset). Throws KeyNotFound when the path runs
  // through a present value of another type. "a/" is "a"; "/a" is "a" under "".
  Value& operator[](std::u16string_view path);
  Value& operator[](std::string_view utf8Path);

  // True when every component exists, all but the last are subtrees, and the
  // last has the given type. Creates nothing.
  bool Has(std::u16string_view path, ValueType type) const;
  bool Has(std::string_view utf8Path, ValueType type) const;

  // The value at path, or at fallbackPath when the one at path is Unset. Both
  // lookups create what is missing.
  Value& GetWithFallback(std::u16string_view path, std::u16string_view fallbackPath);
  Value& GetWithFallback(std::string_view utf8Path, std::string_view utf8FallbackPath);

  // Merges parent\path into this node. False when that key or any subkey could
  // not be opened or queried; what was merged before stays. use64BitView asks
  // for the 64-bit view (KEY_WOW64_64KEY), which a 32-bit process on 64-bit
  // Windows needs to reach the native one; the caller decides.
  bool LoadFromRegistry(RegistryPort& registry, RegKey parent, std::u16string_view path,
                        bool use64BitView);
  // Writes this node into parent\path, creating it when missing. False at the
  // first key or value that could not be written; what was written stays.
  // failure, when given, receives the platform's code of that refusal
  // (kErrorAccessDenied for want of rights), kErrorSuccess otherwise.
  bool SaveToRegistry(RegistryPort& registry, RegKey parent, std::u16string_view path,
                      bool use64BitView, long* failure = nullptr) const;

  Children children;

 private:
  // operator[] without the throw: null where the path runs through a present
  // value that is not a subtree. The loader uses it to skip such names.
  Value* Lookup(std::u16string_view path);
};

}  // namespace glimmer
