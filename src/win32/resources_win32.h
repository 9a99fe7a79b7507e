// The resource port over a module's resource section.
#pragma once

#include "platform/ports.h"

namespace glimmer::win32 {

class Win32Resources final : public ResourcePort {
 public:
  // module: the HMODULE whose resources are read; null for the program itself.
  explicit Win32Resources(void* module = nullptr) : module_(module) {}

  bool FindResourceBytes(std::uint16_t id, std::uint16_t type, const std::uint8_t*& data,
                         std::uint32_t& size) override;

 private:
  void* module_;
};

}  // namespace glimmer::win32
