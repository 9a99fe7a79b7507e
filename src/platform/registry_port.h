// The registry as the core sees it: the few calls of the Windows registry API
// that the product uses, with the same shapes, status codes and rights, so that
// the platform's documented behaviour maps onto this interface one to one.
#pragma once

#include <cstdint>
#include <string_view>
#include <utility>

namespace glimmer {

// An open key, or one of the predefined roots. 0 is "no key".
using RegKey = std::uintptr_t;

inline constexpr RegKey kHkeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHkeyLocalMachine = 0x80000002u;

// Win32 error codes the core tells apart; any other nonzero code is a failure too.
inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorAccessDenied = 5;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorMoreData = 234;
inline constexpr long kErrorNoMoreItems = 259;

// Access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

class RegistryPort {
 public:
  virtual ~RegistryPort() = default;

  // RegOpenKeyExW with options 0.
  virtual long OpenKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                       RegKey& key) = 0;
  // RegCreateKeyExW with reserved 0, class "", options 0 (non-volatile), no
  // security attributes; creates every missing level.
  virtual long CreateKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                         RegKey& key) = 0;
  // RegQueryValueExW. With data null only type and size are asked for. With a
  // buffer too small for the data: kErrorMoreData and size set to what is needed.
  virtual long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                          std::uint8_t* data, std::uint32_t* size) = 0;
  // RegQueryInfoKeyW, the parts the core uses: the number of values and the
  // class name (into a buffer of classCapacity code units including the NUL).
  virtual long QueryInfoKey(RegKey key, char16_t* className, std::uint32_t* classCapacity,
                            std::uint32_t* valueCount) = 0;
  // RegEnumKeyW: the name of subkey number index into a buffer of capacity code
  // units, NUL included. kErrorNoMoreItems past the last one, kErrorMoreData
  // when the name does not fit.
  virtual long EnumKey(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t capacity) = 0;
  // RegEnumValueW. nameLength: in, the buffer's capacity in code units with the
  // NUL; out, the name's length without it. dataSize: in, the buffer's bytes;
  // out, the data's bytes. kErrorMoreData when name or data does not fit.
  virtual long EnumValue(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength,
                         std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) = 0;
  // RegSetValueExW: stores exactly size bytes of data.
  virtual long SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                        const std::uint8_t* data, std::uint32_t size) = 0;
  virtual long FlushKey(RegKey key) = 0;
  virtual long CloseKey(RegKey key) = 0;
  // RegDeleteTreeW of parent\subKey, the key itself included. Used by tests and
  // tools to wipe scratch keys; the product never deletes a key.
  virtual long DeleteTree(RegKey parent, std::u16string_view subKey, std::uint32_t viewFlags) = 0;
};

// Owns one open key and closes it once. Move-only: a copy would close twice.
class RegKeyOwner {
 public:
  RegKeyOwner() = default;
  RegKeyOwner(RegistryPort& port, RegKey key) : port_(&port), key_(key) {}
  RegKeyOwner(const RegKeyOwner&) = delete;
  RegKeyOwner& operator=(const RegKeyOwner&) = delete;
  RegKeyOwner(RegKeyOwner&& other) noexcept
      : port_(other.port_), key_(std::exchange(other.key_, 0)) {}
  RegKeyOwner& operator=(RegKeyOwner&& other) noexcept {
    if (this != &other) {
      Close();
      port_ = other.port_;
      key_ = std::exchange(other.key_, 0);
    }
    return *this;
  }
  ~RegKeyOwner() { Close(); }

  RegKey get() const { return key_; }
  explicit operator bool() const { return key_ != 0; }
  // Closes now and reports the platform's answer (kErrorSuccess when nothing was open).
  long Close() {
    if (key_ == 0 || port_ == nullptr) return kErrorSuccess;
    return port_->CloseKey(std::exchange(key_, 0));
  }

 private:
  RegistryPort* port_ = nullptr;
  RegKey key_ = 0;
};

}  // namespace glimmer
