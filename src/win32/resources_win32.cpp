#include "win32/resources_win32.h"

#include "win32/windows_api.h"

namespace glimmer::win32 {

// RT_RCDATA is a number dressed as a pointer; read the number it is made from.
#pragma push_macro("MAKEINTRESOURCEW")
#undef MAKEINTRESOURCEW
#define MAKEINTRESOURCEW(number) (number)
static_assert(kRtRcdata == RT_RCDATA);
#pragma pop_macro("MAKEINTRESOURCEW")

bool Win32Resources::FindResourceBytes(std::uint16_t id, std::uint16_t type,
                                       const std::uint8_t*& data, std::uint32_t& size) {
  const HMODULE module =
      module_ != nullptr ? static_cast<HMODULE>(module_) : ::GetModuleHandleW(nullptr);
  const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
  if (found == nullptr) return false;
  // A loaded resource stays mapped as long as its module; there is nothing to free.
  const HGLOBAL loaded = ::LoadResource(module, found);
  if (loaded == nullptr) return false;
  const void* bytes = ::LockResource(loaded);
  if (bytes == nullptr) return false;
  data = static_cast<const std::uint8_t*>(bytes);
  size = ::SizeofResource(module, found);
  return true;
}

}  // namespace glimmer::win32
