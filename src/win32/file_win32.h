// The file port over kernel32.
#pragma once

#include "platform/file_port.h"

namespace glimmer::win32 {

class Win32Files final : public FilePort {
 public:
  OsHandle OpenForReading(std::u16string_view path) override;
  bool ReadFile(OsHandle file, std::uint8_t* buffer, std::uint32_t size,
                std::uint32_t& read) override;
  bool CloseHandle(OsHandle file) override;
  bool MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes,
                           std::u16string& text) override;
};

}  // namespace glimmer::win32
