#include "win32/registry_win32.h"

#include <vector>

#include "platform/registry.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

// The core's copies of the registry's numbers (the roots are mapped below).
static_assert(kErrorSuccess == ERROR_SUCCESS);
static_assert(kErrorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(kErrorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(kErrorInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(kErrorInvalidParameter == ERROR_INVALID_PARAMETER);
static_assert(kErrorMoreData == ERROR_MORE_DATA);
static_assert(kErrorNoMoreItems == ERROR_NO_MORE_ITEMS);
static_assert(kKeyQueryValue == KEY_QUERY_VALUE);
static_assert(kKeySetValue == KEY_SET_VALUE);
static_assert(kKeyCreateSubKey == KEY_CREATE_SUB_KEY);
static_assert(kKeyEnumerateSubKeys == KEY_ENUMERATE_SUB_KEYS);
static_assert(kKeyWow64_64Key == KEY_WOW64_64KEY);
static_assert(kKeyWow64_32Key == KEY_WOW64_32KEY);
static_assert(kKeyRead == KEY_READ);
static_assert(kKeyAllAccess == KEY_ALL_ACCESS);
static_assert(kRegNone == REG_NONE);
static_assert(kRegSz == REG_SZ);
static_assert(kRegExpandSz == REG_EXPAND_SZ);
static_assert(kRegBinary == REG_BINARY);
static_assert(kRegDword == REG_DWORD);
static_assert(kRegMultiSz == REG_MULTI_SZ);
static_assert(kSOk == S_OK);
static_assert(kEFail == E_FAIL);

namespace {

// The predefined roots are sign-extended on 64-bit Windows; the core's numbers are not.
HKEY ToHkey(RegKey key) {
  if (key == kHkeyLocalMachine) return HKEY_LOCAL_MACHINE;
  if (key == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) { return reinterpret_cast<RegKey>(key); }

}  // namespace

long Win32Registry::OpenKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                            RegKey& key) {
  HKEY opened = nullptr;
  const long status = RegOpenKeyExW(ToHkey(parent), Wide(subKey).c_str(), 0, access, &opened);
  if (status == ERROR_SUCCESS) key = FromHkey(opened);
  return status;
}

long Win32Registry::CreateKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                              RegKey& key) {
  HKEY created = nullptr;
  wchar_t emptyClass[] = L"";
  const long status = RegCreateKeyExW(ToHkey(parent), Wide(subKey).c_str(), 0, emptyClass, 0,
                                      access, nullptr, &created, nullptr);
  if (status == ERROR_SUCCESS) key = FromHkey(created);
  return status;
}

long Win32Registry::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type,
                               std::uint8_t* data, std::uint32_t* size) {
  DWORD winType = 0;
  DWORD winSize = size ? *size : 0;
  const long status = RegQueryValueExW(ToHkey(key), Wide(name).c_str(), nullptr, &winType, data,
                                       size ? &winSize : nullptr);
  if (type) *type = winType;
  if (size) *size = winSize;
  return status;
}

long Win32Registry::QueryInfoKey(RegKey key, char16_t* className, std::uint32_t* classCapacity,
                                 std::uint32_t* valueCount) {
  DWORD capacity = classCapacity ? *classCapacity : 0;
  DWORD values = 0;
  const long status = RegQueryInfoKeyW(
      ToHkey(key), reinterpret_cast<wchar_t*>(className), classCapacity ? &capacity : nullptr,
      nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr, nullptr, nullptr);
  if (classCapacity) *classCapacity = capacity;
  if (valueCount) *valueCount = values;
  return status;
}

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, char16_t* name,
                            std::uint32_t capacity) {
  return RegEnumKeyW(ToHkey(key), index, reinterpret_cast<wchar_t*>(name), capacity);
}

long Win32Registry::EnumValue(RegKey key, std::uint32_t index, char16_t* name,
                              std::uint32_t* nameLength, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t* dataSize) {
  DWORD length = nameLength ? *nameLength : 0;
  DWORD winType = 0;
  DWORD winSize = dataSize ? *dataSize : 0;
  const long status = RegEnumValueW(ToHkey(key), index, reinterpret_cast<wchar_t*>(name), &length,
                                    nullptr, &winType, data, dataSize ? &winSize : nullptr);
  if (nameLength) *nameLength = length;
  if (type) *type = winType;
  if (dataSize) *dataSize = winSize;
  return status;
}

long Win32Registry::SetValue(RegKey key, std::u16string_view name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) {
  // The registry adds a terminator to string data when the code unit after the
  // counted bytes happens to be NUL. A copy with a guard unit after the data
  // makes it store exactly size bytes.
  std::vector<BYTE> guarded(data, data + size);
  guarded.push_back(0xFF);
  guarded.push_back(0xFF);
  return RegSetValueExW(ToHkey(key), Wide(name).c_str(), 0, type, guarded.data(), size);
}

long Win32Registry::FlushKey(RegKey key) { return RegFlushKey(ToHkey(key)); }

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(ToHkey(key)); }

long Win32Registry::DeleteTree(RegKey parent, std::u16string_view subKey, std::uint32_t viewFlags) {
  const std::wstring path = Wide(subKey);
  HKEY opened = nullptr;
  long status = RegOpenKeyExW(ToHkey(parent), path.c_str(), 0, KEY_ALL_ACCESS | viewFlags, &opened);
  if (status != ERROR_SUCCESS) return status;
  status = RegDeleteTreeW(opened, nullptr);
  RegCloseKey(opened);
  if (status != ERROR_SUCCESS) return status;
  return RegDeleteKeyExW(ToHkey(parent), path.c_str(), viewFlags, 0);
}

}  // namespace glimmer::win32
