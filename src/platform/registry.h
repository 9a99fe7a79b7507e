// Reading and writing one registry string value, with the 64-bit view rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_port.h"

namespace glimmer {

using HResult = std::int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);

// Reads a REG_SZ value. out is replaced on success and left exactly as it was
// on every failure (missing key or value, another type, zero bytes of data).
HResult ReadRegistryString(RegKey root, std::u16string_view subKey, std::u16string_view valueName,
                           std::u16string& out, bool prefer64BitView);

// Writes a REG_SZ value without a terminating NUL, creating missing keys.
HResult WriteRegistryString(RegKey root, std::u16string_view subKey, std::u16string_view valueName,
                            std::u16string_view value, bool prefer64BitView);

// Reads REG_SZ data as stored: up to its first NUL code unit or its end; an odd
// last byte becomes the low byte of one more code unit.
std::u16string TextFromRegistryBytes(const std::uint8_t* data, std::size_t size);

// The UTF-16LE bytes of text, no terminator.
std::vector<std::uint8_t> RegistryBytesFromText(std::u16string_view text);

}  // namespace glimmer
