#include "platform/registry.h"

#include "platform/system.h"

namespace glimmer {
namespace {

// The rules are those of a 32-bit process: without the 64-bit view it sees the
// 32-bit view, which the 64-bit build has to ask for by name.
std::uint32_t Rights(SystemPort& system, std::uint32_t base, bool prefer64BitView) {
  if (prefer64BitView) return RunsUnderWow64(system) ? base | kKeyWow64_64Key : base;
  return system.Is64BitProcess() ? base | kKeyWow64_32Key : base;
}

}  // namespace

std::u16string TextFromRegistryBytes(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  text.reserve((size + 1) / 2);
  for (std::size_t i = 0; i < size; i += 2) {
    const auto low = data[i];
    const auto high = i + 1 < size ? data[i + 1] : std::uint8_t{0};
    const auto unit = static_cast<char16_t>(low | (high << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

std::vector<std::uint8_t> RegistryBytesFromText(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return bytes;
}

HResult ReadRegistryString(RegistryPort& registry, SystemPort& system, RegKey root,
                           std::u16string_view subKey, std::u16string_view valueName,
                           std::u16string& out, bool prefer64BitView) {
  RegKey opened = 0;
  if (registry.OpenKey(root, subKey, Rights(system, kKeyRead, prefer64BitView), opened) !=
      kErrorSuccess)
    return kEFail;
  RegKeyOwner key(registry, opened);

  std::uint32_t type = 0;
  std::uint32_t size = 0;
  if (registry.QueryValue(key.get(), valueName, &type, nullptr, &size) != kErrorSuccess ||
      type != kRegSz || size == 0)
    return kEFail;

  // Whole code units, zero-filled, so an odd byte count reads as one more unit.
  std::vector<std::uint8_t> buffer(size + (size % 2), 0);
  std::uint32_t read = size;
  if (registry.QueryValue(key.get(), valueName, &type, buffer.data(), &read) != kErrorSuccess ||
      type != kRegSz)
    return kEFail;

  out = TextFromRegistryBytes(buffer.data(), buffer.size());
  return key.Close() == kErrorSuccess ? kSOk : kEFail;
}

HResult WriteRegistryString(RegistryPort& registry, SystemPort& system, RegKey root,
                            std::u16string_view subKey, std::u16string_view valueName,
                            std::u16string_view value, bool prefer64BitView, long* failure) {
  long ignored = kErrorSuccess;
  long& status = failure != nullptr ? *failure : ignored;
  RegKey created = 0;
  status = registry.CreateKey(root, subKey, Rights(system, kKeySetValue, prefer64BitView), created);
  if (status != kErrorSuccess) return kEFail;
  RegKeyOwner key(registry, created);
  const auto bytes = RegistryBytesFromText(value);
  status = registry.SetValue(key.get(), valueName, kRegSz, bytes.data(),
                             static_cast<std::uint32_t>(bytes.size()));
  if (status != kErrorSuccess) return kEFail;
  registry.FlushKey(key.get());
  return kSOk;
}

}  // namespace glimmer
