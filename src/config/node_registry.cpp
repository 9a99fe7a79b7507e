// The registry form of a Node: one key per node, one REG_SZ value text
// ("1: 0.500000", "2: 15", "3: de") per number or string, one subkey per subtree.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "config/node.h"
#include "config/value_text.h"
#include "platform/registry.h"

namespace glimmer {
namespace {

// What the loader can take: names of 2047 units, data of 4096 bytes.
constexpr std::uint32_t kNameCapacity = 2048;
constexpr std::uint32_t kDataCapacity = 2 * kValueTextCapacity;
constexpr std::uint32_t kClassCapacity = 200;

std::uint32_t Rights(std::uint32_t base, bool use64BitView) {
  return use64BitView ? base | kKeyWow64_64Key : base;
}

std::u16string_view UpToNul(const char16_t* text, std::size_t length) {
  return std::u16string_view(text, std::find(text, text + length, u'\0') - text);
}

}  // namespace

bool Node::SaveToRegistry(RegistryPort& registry, RegKey parent, std::u16string_view path,
                          bool use64BitView, long* failure) const {
  long ignored = kErrorSuccess;
  long& status = failure != nullptr ? *failure : ignored;
  status = kErrorSuccess;
  RegKey created = 0;
  status = registry.CreateKey(parent, path, Rights(kKeySetValue, use64BitView), created);
  if (status != kErrorSuccess) return false;
  RegKeyOwner key(registry, created);

  for (const auto& [name, value] : children) {
    if (const Node* child = value.AsSubtree()) {
      if (!child->SaveToRegistry(registry, key.get(), name, use64BitView, &status)) return false;
      continue;
    }
    // An empty string leaves a value of that name as it is in the registry.
    if (value.type == ValueType::String && value.stringValue.empty()) continue;
    if (value.type != ValueType::Float && value.type != ValueType::Int &&
        value.type != ValueType::String)
      continue;
    const std::optional<std::u16string> text = FormatValueText(value);
    if (!text) {
      status = kErrorInvalidParameter;  // a string the loader could not read back whole
      return false;
    }
    const std::vector<std::uint8_t> bytes = RegistryBytesFromText(*text);
    status = registry.SetValue(key.get(), name, kRegSz, bytes.data(),
                               static_cast<std::uint32_t>(bytes.size()));
    if (status != kErrorSuccess) return false;
  }

  registry.FlushKey(key.get());
  key.Close();
  return true;
}

bool Node::LoadFromRegistry(RegistryPort& registry, RegKey parent, std::u16string_view path,
                            bool use64BitView) {
  RegKey opened = 0;
  if (registry.OpenKey(parent, path, Rights(kKeyRead, use64BitView), opened) != kErrorSuccess)
    return false;
  RegKeyOwner key(registry, opened);

  char16_t className[kClassCapacity] = {};
  std::uint32_t classLength = kClassCapacity;
  std::uint32_t valueCount = 0;
  if (registry.QueryInfoKey(key.get(), className, &classLength, &valueCount) != kErrorSuccess)
    return false;

  std::vector<char16_t> name(kNameCapacity);
  for (std::uint32_t index = 0;
       registry.EnumKey(key.get(), index, name.data(), kNameCapacity) == kErrorSuccess; ++index) {
    const std::u16string_view subkeyName = UpToNul(name.data(), kNameCapacity);
    // A name with "/" is a path; one that runs through a number or string is
    // skipped so that the rest of the key still loads.
    Value* slot = Lookup(subkeyName);
    if (!slot) continue;
    if (!slot->AsSubtree()) *slot = Value(std::make_unique<Node>());
    if (!slot->AsSubtree()->LoadFromRegistry(registry, key.get(), subkeyName, use64BitView))
      return false;
  }

  std::vector<std::uint8_t> data(kDataCapacity);
  // One number per type for the whole key: a text without a number stores
  // the last one read before it.
  float lastFloat = 0.0f;
  std::int32_t lastInt = 0;
  for (std::uint32_t index = 0; index < valueCount; ++index) {
    std::uint32_t nameLength = kNameCapacity;
    std::uint32_t type = 0;
    std::uint32_t dataSize = kDataCapacity;
    if (registry.EnumValue(key.get(), index, name.data(), &nameLength, &type, data.data(),
                           &dataSize) != kErrorSuccess)
      continue;
    const std::u16string_view valueName =
        UpToNul(name.data(), std::min(nameLength, kNameCapacity - 1));
    // Whole code units only: an odd last byte is not part of the text.
    const std::u16string text =
        TextFromRegistryBytes(data.data(), std::min(dataSize, kDataCapacity) & ~1u);
    const std::optional<ValueText> split = SplitValueText(text);
    if (!split) continue;
    const std::u16string_view valueText = LoadedValue(split->body);

    Value loaded;
    switch (split->type) {
      case ValueType::Float:
        ReadFloatText(valueText, lastFloat);
        loaded = Value(lastFloat);
        break;
      case ValueType::Int:
        ReadIntText(valueText, lastInt);
        loaded = Value(lastInt);
        break;
      default:
        loaded = Value(std::u16string(valueText));
        break;
    }
    if (Value* slot = Lookup(valueName)) *slot = std::move(loaded);
  }

  key.Close();
  return true;
}

}  // namespace glimmer
