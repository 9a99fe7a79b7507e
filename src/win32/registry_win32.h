// The registry port over the Windows registry API.
#pragma once

#include "platform/registry_port.h"

namespace glimmer::win32 {

class Win32Registry final : public RegistryPort {
 public:
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
};

}  // namespace glimmer::win32
