// In-memory registry with the behaviour of the real one that the product meets:
// raw typed bytes, case-insensitive names, subkeys enumerated in name order and
// values in creation order, the 32-bit and 64-bit views of HKEY_LOCAL_MACHINE
// for a 32-bit process on 64-bit Windows, access rights checked per handle, and
// keys or subtrees that refuse reading or writing.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry_port.h"

namespace glimmer::fakes {

class FakeRegistry : public RegistryPort {
 public:
  enum class View { Native, Redirected32 };

  // wow64: the process is a 32-bit one on 64-bit Windows, so HKEY_LOCAL_MACHINE
  // opened without KEY_WOW64_64KEY shows the redirected 32-bit view.
  explicit FakeRegistry(bool wow64 = false);
  ~FakeRegistry() override;

  long OpenKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
               RegKey& key) override;
  long CreateKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                 RegKey& key) override;
  long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long QueryInfoKey(RegKey key, char16_t* className, std::uint32_t* classCapacity,
                    std::uint32_t* valueCount) override;
  long EnumKey(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t capacity) override;
  long EnumValue(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override;
  long SetValue(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;
  long FlushKey(RegKey key) override;
  long CloseKey(RegKey key) override;
  long DeleteTree(RegKey parent, std::u16string_view subKey, std::uint32_t viewFlags) override;

  // Direct access for arranging and checking a test, outside any handle.
  // path is backslash-separated below root; view picks the HKLM view.
  struct RawValue {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };
  void Put(RegKey root, std::u16string_view path, std::u16string_view name, std::uint32_t type,
           std::vector<std::uint8_t> data, View view = View::Native);
  // A REG_SZ value holding exactly the code units of text (no terminator).
  void PutString(RegKey root, std::u16string_view path, std::u16string_view name,
                 std::u16string_view text, View view = View::Native);
  void PutKey(RegKey root, std::u16string_view path, View view = View::Native);
  std::optional<RawValue> Get(RegKey root, std::u16string_view path, std::u16string_view name,
                              View view = View::Native) const;
  bool HasKey(RegKey root, std::u16string_view path, View view = View::Native) const;
  std::vector<std::u16string> ValueNames(RegKey root, std::u16string_view path,
                                         View view = View::Native) const;

  // Every open or create below root\path (in either view) is refused with
  // kErrorAccessDenied when it asks for a right in `rights`.
  void Deny(RegKey root, std::u16string_view path, std::uint32_t rights);
  // While true, the process is an administrator's, whom no denial refuses.
  bool administrator = false;
  // The next call of the named operation ("CloseKey", "SetValue", "EnumKey",
  // "QueryInfoKey", ...) fails with code.
  void FailNext(const std::string& operation, long code);

  // What was asked for, for checks of rights and views: one entry per open or create.
  struct Access {
    std::string operation;  // "OpenKey" or "CreateKey"
    std::u16string path;    // full path below the root, backslash-separated
    std::uint32_t access = 0;
  };
  const std::vector<Access>& AccessLog() const { return accessLog_; }
  std::size_t OpenHandleCount() const { return handles_.size(); }

 private:
  struct Key;
  struct Handle {
    Key* key = nullptr;
    RegKey root = 0;
    View view = View::Native;
    std::u16string path;
    std::uint32_t access = 0;
  };
  struct Denial {
    RegKey root;
    std::u16string path;
    std::uint32_t rights;
  };

  Key& RootKey(RegKey root, View view) const;
  const Handle* Resolve(RegKey key) const;
  View ViewFor(RegKey parent, std::uint32_t access) const;
  long Open(const char* operation, RegKey parent, std::u16string_view subKey, std::uint32_t access,
            bool create, RegKey& key);
  Key* Walk(RegKey root, std::u16string_view path, View view, bool create) const;
  bool Denied(RegKey root, const std::u16string& path, std::uint32_t access) const;
  std::optional<long> TakeFailure(const std::string& operation);

  bool wow64_;
  mutable std::map<std::pair<RegKey, View>, std::unique_ptr<Key>> roots_;
  std::map<RegKey, Handle> handles_;
  RegKey nextHandle_ = 0x1000;
  std::vector<Denial> denials_;
  std::map<std::string, long> failures_;
  std::vector<Access> accessLog_;
};

}  // namespace glimmer::fakes
