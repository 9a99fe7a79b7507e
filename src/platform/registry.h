// Reading and writing one registry string value, with the 64-bit view rule.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hresult.h"
#include "platform/ports.h"
#include "platform/registry_port.h"

namespace glimmer {

// Reads a REG_SZ value. out is replaced on success and left exactly as it was
// on every failure (missing key or value, another type, zero bytes of data).
// system tells which view of the registry the process sees.
HResult ReadRegistryString(RegistryPort& registry, SystemPort& system, RegKey root,
                           std::u16string_view subKey, std::u16string_view valueName,
                           std::u16string& out, bool prefer64BitView);

// Writes a REG_SZ value without a terminating NUL, creating missing keys.
// failure, when given, receives the platform's code of a refusal.
HResult WriteRegistryString(RegistryPort& registry, SystemPort& system, RegKey root,
                            std::u16string_view subKey, std::u16string_view valueName,
                            std::u16string_view value, bool prefer64BitView,
                            long* failure = nullptr);

// Reads REG_SZ data as stored: up to its first NUL code unit or its end; an odd
// last byte becomes the low byte of one more code unit.
std::u16string TextFromRegistryBytes(const std::uint8_t* data, std::size_t size);

// The UTF-16LE bytes of text, no terminator.
std::vector<std::uint8_t> RegistryBytesFromText(std::u16string_view text);

}  // namespace glimmer
