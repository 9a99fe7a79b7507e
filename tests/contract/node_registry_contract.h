// The configuration tree's registry form over any registry port: the same
// cases against the fake natively and against the Windows registry under
// Wine, so the fake's answers cannot drift from the platform's.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/node.h"
#include "contract/registry_contract.h"

namespace glimmer::contract {

class NodeRegistryContract : public RegistryContract {
 protected:
  // The tree's key and a second one to copy into, both below the scratch key.
  static std::u16string Key(std::u16string_view sub = {});
  static std::u16string Copy(std::u16string_view sub = {});
  // kScratch\name, or kScratch\name\sub.
  static std::u16string Below(std::u16string_view name, std::u16string_view sub);

  void Put(std::u16string_view name, std::u16string_view text, std::u16string_view sub = {});
  void PutRaw(std::u16string_view name, std::uint32_t type, const std::vector<std::uint8_t>& data);
  // The stored text of a value, none when it is missing.
  std::optional<std::u16string> Text(const std::u16string& key, std::u16string_view name);
  // The value names of a key in enumeration order.
  std::vector<std::u16string> ValueNames(const std::u16string& key);

  bool Load(Node& tree, const std::u16string& key) {
    return tree.LoadFromRegistry(*registry_, kHkeyCurrentUser, key, false);
  }
  bool Save(const Node& tree, const std::u16string& key) {
    return tree.SaveToRegistry(*registry_, kHkeyCurrentUser, key, false);
  }

  Node tree_;
};

}  // namespace glimmer::contract
