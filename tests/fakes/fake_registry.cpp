#include "fakes/fake_registry.h"

#include <algorithm>
#include <cstring>

namespace glimmer::fakes {
namespace registry_detail {

char16_t Fold(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

struct NameLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return Fold(x) < Fold(y); });
  }
};

std::vector<std::u16string> Split(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::u16string part;
  for (char16_t c : path) {
    if (c == u'\\') {
      if (!part.empty()) parts.push_back(std::move(part));
      part.clear();
    } else {
      part.push_back(c);
    }
  }
  if (!part.empty()) parts.push_back(std::move(part));
  return parts;
}

std::u16string Join(std::u16string_view base, std::u16string_view sub) {
  std::u16string joined;
  for (const auto& part : Split(base)) joined += (joined.empty() ? u"" : u"\\") + part;
  for (const auto& part : Split(sub)) joined += (joined.empty() ? u"" : u"\\") + part;
  return joined;
}

bool IsRoot(RegKey key) { return key == kHkeyLocalMachine || key == kHkeyCurrentUser; }

}  // namespace registry_detail

// Named, not anonymous: the comparator is part of FakeRegistry::Key's type.
using namespace registry_detail;

struct FakeRegistry::Key {
  struct Value {
    std::u16string name;
    RawValue raw;
  };
  std::map<std::u16string, std::unique_ptr<Key>, NameLess> subkeys;
  std::vector<Value> values;

  Value* FindValue(std::u16string_view name) {
    for (auto& value : values)
      if (SameName(value.name, name)) return &value;
    return nullptr;
  }
};

FakeRegistry::FakeRegistry(bool wow64) : wow64_(wow64) {}
FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Key& FakeRegistry::RootKey(RegKey root, View view) const {
  if (root != kHkeyLocalMachine) view = View::Native;
  auto& slot = roots_[{root, view}];
  if (!slot) slot = std::make_unique<Key>();
  return *slot;
}

FakeRegistry::Key* FakeRegistry::Walk(RegKey root, std::u16string_view path, View view,
                                      bool create) const {
  Key* key = &RootKey(root, view);
  for (const auto& part : Split(path)) {
    auto it = key->subkeys.find(part);
    if (it == key->subkeys.end()) {
      if (!create) return nullptr;
      it = key->subkeys.emplace(part, std::make_unique<Key>()).first;
    }
    key = it->second.get();
  }
  return key;
}

const FakeRegistry::Handle* FakeRegistry::Resolve(RegKey key) const {
  auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : &it->second;
}

FakeRegistry::View FakeRegistry::ViewFor(RegKey parent, std::uint32_t access) const {
  if (access & kKeyWow64_64Key) return View::Native;
  if (access & kKeyWow64_32Key) return View::Redirected32;
  if (const Handle* handle = Resolve(parent)) return handle->view;
  return wow64_ ? View::Redirected32 : View::Native;
}

bool FakeRegistry::Denied(RegKey root, const std::u16string& path, std::uint32_t access) const {
  if (administrator) return false;
  const std::uint32_t wanted = access & ~(kKeyWow64_64Key | kKeyWow64_32Key);
  for (const auto& denial : denials_) {
    if (denial.root != root || (denial.rights & wanted) == 0) continue;
    const auto parts = Split(path);
    const auto deniedParts = Split(denial.path);
    if (deniedParts.size() > parts.size()) continue;
    if (std::equal(deniedParts.begin(), deniedParts.end(), parts.begin(), SameName)) return true;
  }
  return false;
}

std::optional<long> FakeRegistry::TakeFailure(const std::string& operation) {
  auto it = failures_.find(operation);
  if (it == failures_.end()) return std::nullopt;
  long code = it->second;
  failures_.erase(it);
  return code;
}

long FakeRegistry::Open(const char* operation, RegKey parent, std::u16string_view subKey,
                        std::uint32_t access, bool create, RegKey& key) {
  if (auto failure = TakeFailure(operation)) return *failure;
  RegKey root = parent;
  std::u16string base;
  if (!IsRoot(parent)) {
    const Handle* handle = Resolve(parent);
    if (!handle) return kErrorInvalidHandle;
    root = handle->root;
    base = handle->path;
  }
  const std::u16string path = Join(base, subKey);
  accessLog_.push_back({operation, path, access});
  if (Denied(root, path, access)) return kErrorAccessDenied;
  const View view = ViewFor(parent, access);
  Key* found = Walk(root, path, view, create);
  if (!found) return kErrorFileNotFound;
  key = nextHandle_++;
  handles_[key] = Handle{found, root, view, path, access};
  return kErrorSuccess;
}

long FakeRegistry::OpenKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                           RegKey& key) {
  return Open("OpenKey", parent, subKey, access, false, key);
}

long FakeRegistry::CreateKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                             RegKey& key) {
  return Open("CreateKey", parent, subKey, access, true, key);
}

long FakeRegistry::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) {
  if (auto failure = TakeFailure("QueryValue")) return *failure;
  const Handle* handle = Resolve(key);
  if (!handle) return kErrorInvalidHandle;
  if ((handle->access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if (data && !size) return kErrorInvalidParameter;
  const Key::Value* value = handle->key->FindValue(name);
  if (!value) return kErrorFileNotFound;
  if (type) *type = value->raw.type;
  const auto needed = static_cast<std::uint32_t>(value->raw.data.size());
  if (!size) return kErrorSuccess;
  if (data) {
    if (*size < needed) {
      *size = needed;
      return kErrorMoreData;
    }
    std::copy(value->raw.data.begin(), value->raw.data.end(), data);
  }
  *size = needed;
  return kErrorSuccess;
}

long FakeRegistry::QueryInfoKey(RegKey key, char16_t* className, std::uint32_t* classCapacity,
                                std::uint32_t* valueCount) {
  if (auto failure = TakeFailure("QueryInfoKey")) return *failure;
  const Handle* handle = Resolve(key);
  if (!handle) return kErrorInvalidHandle;
  if ((handle->access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if (className && classCapacity && *classCapacity > 0) className[0] = 0;
  if (classCapacity) *classCapacity = 0;
  if (valueCount) *valueCount = static_cast<std::uint32_t>(handle->key->values.size());
  return kErrorSuccess;
}

long FakeRegistry::EnumKey(RegKey key, std::uint32_t index, char16_t* name,
                           std::uint32_t capacity) {
  if (auto failure = TakeFailure("EnumKey")) return *failure;
  const Handle* handle = Resolve(key);
  if (!handle) return kErrorInvalidHandle;
  if ((handle->access & kKeyEnumerateSubKeys) == 0) return kErrorAccessDenied;
  if (index >= handle->key->subkeys.size()) return kErrorNoMoreItems;
  auto it = handle->key->subkeys.begin();
  std::advance(it, index);
  const std::u16string& subName = it->first;
  if (!name || subName.size() + 1 > capacity) return kErrorMoreData;
  std::copy(subName.begin(), subName.end(), name);
  name[subName.size()] = 0;
  return kErrorSuccess;
}

long FakeRegistry::EnumValue(RegKey key, std::uint32_t index, char16_t* name,
                             std::uint32_t* nameLength, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* dataSize) {
  if (auto failure = TakeFailure("EnumValue")) return *failure;
  const Handle* handle = Resolve(key);
  if (!handle) return kErrorInvalidHandle;
  if ((handle->access & kKeyQueryValue) == 0) return kErrorAccessDenied;
  if (!nameLength) return kErrorInvalidParameter;
  if (index >= handle->key->values.size()) return kErrorNoMoreItems;
  const Key::Value& value = handle->key->values[index];
  if (!name || value.name.size() + 1 > *nameLength) return kErrorMoreData;
  const auto needed = static_cast<std::uint32_t>(value.raw.data.size());
  if (data && (!dataSize || *dataSize < needed)) {
    if (dataSize) *dataSize = needed;
    return kErrorMoreData;
  }
  std::copy(value.name.begin(), value.name.end(), name);
  name[value.name.size()] = 0;
  *nameLength = static_cast<std::uint32_t>(value.name.size());
  if (type) *type = value.raw.type;
  if (data) std::copy(value.raw.data.begin(), value.raw.data.end(), data);
  if (dataSize) *dataSize = needed;
  return kErrorSuccess;
}

long FakeRegistry::SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                            const std::uint8_t* data, std::uint32_t size) {
  if (auto failure = TakeFailure("SetValue")) return *failure;
  const Handle* handle = Resolve(key);
  if (!handle) return kErrorInvalidHandle;
  if ((handle->access & kKeySetValue) == 0) return kErrorAccessDenied;
  if (size > 0 && !data) return kErrorInvalidParameter;
  RawValue raw{type, std::vector<std::uint8_t>(data, data + size)};
  if (Key::Value* value = handle->key->FindValue(name)) {
    value->raw = std::move(raw);
  } else {
    handle->key->values.push_back({std::u16string(name), std::move(raw)});
  }
  return kErrorSuccess;
}

long FakeRegistry::FlushKey(RegKey key) {
  if (auto failure = TakeFailure("FlushKey")) return *failure;
  return Resolve(key) || IsRoot(key) ? kErrorSuccess : kErrorInvalidHandle;
}

long FakeRegistry::CloseKey(RegKey key) {
  auto failure = TakeFailure("CloseKey");
  if (IsRoot(key)) return failure.value_or(kErrorSuccess);
  if (handles_.erase(key) == 0) return kErrorInvalidHandle;
  return failure.value_or(kErrorSuccess);
}

long FakeRegistry::DeleteTree(RegKey parent, std::u16string_view subKey, std::uint32_t viewFlags) {
  RegKey root = parent;
  std::u16string base;
  if (!IsRoot(parent)) {
    const Handle* handle = Resolve(parent);
    if (!handle) return kErrorInvalidHandle;
    root = handle->root;
    base = handle->path;
  }
  auto parts = Split(Join(base, subKey));
  if (parts.empty()) return kErrorInvalidParameter;
  const std::u16string last = parts.back();
  parts.pop_back();
  std::u16string parentPath;
  for (const auto& part : parts) parentPath += (parentPath.empty() ? u"" : u"\\") + part;
  Key* holder = Walk(root, parentPath, ViewFor(parent, viewFlags), false);
  if (!holder || holder->subkeys.erase(last) == 0) return kErrorFileNotFound;
  return kErrorSuccess;
}

void FakeRegistry::Put(RegKey root, std::u16string_view path, std::u16string_view name,
                       std::uint32_t type, std::vector<std::uint8_t> data, View view) {
  Key* key = Walk(root, path, view, true);
  if (Key::Value* value = key->FindValue(name)) {
    value->raw = {type, std::move(data)};
  } else {
    key->values.push_back({std::u16string(name), {type, std::move(data)}});
  }
}

void FakeRegistry::PutString(RegKey root, std::u16string_view path, std::u16string_view name,
                             std::u16string_view text, View view) {
  std::vector<std::uint8_t> bytes;
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  Put(root, path, name, kRegSz, std::move(bytes), view);
}

void FakeRegistry::PutKey(RegKey root, std::u16string_view path, View view) {
  Walk(root, path, view, true);
}

std::optional<FakeRegistry::RawValue> FakeRegistry::Get(RegKey root, std::u16string_view path,
                                                        std::u16string_view name, View view) const {
  Key* key = Walk(root, path, view, false);
  if (!key) return std::nullopt;
  const Key::Value* value = key->FindValue(name);
  if (!value) return std::nullopt;
  return value->raw;
}

bool FakeRegistry::HasKey(RegKey root, std::u16string_view path, View view) const {
  return Walk(root, path, view, false) != nullptr;
}

std::vector<std::u16string> FakeRegistry::ValueNames(RegKey root, std::u16string_view path,
                                                     View view) const {
  std::vector<std::u16string> names;
  if (Key* key = Walk(root, path, view, false))
    for (const auto& value : key->values) names.push_back(value.name);
  return names;
}

void FakeRegistry::Deny(RegKey root, std::u16string_view path, std::uint32_t rights) {
  denials_.push_back({root, std::u16string(path), rights});
}

void FakeRegistry::FailNext(const std::string& operation, long code) {
  failures_[operation] = code;
}

}  // namespace glimmer::fakes
