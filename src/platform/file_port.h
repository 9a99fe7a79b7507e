// Reading the user's playlist files: the few kernel32 calls the editor makes,
// with the same shapes. Only M3U files are read, and nothing is ever written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ports.h"

namespace glimmer {

// Code pages for MultiByteToWideChar.
inline constexpr std::uint32_t kCpAcp = 0;
inline constexpr std::uint32_t kCpUtf8 = 65001;

class FilePort {
 public:
  virtual ~FilePort() = default;
  // CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, no
  // security attributes, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, no template).
  // 0 when it fails (INVALID_HANDLE_VALUE); a folder cannot be opened.
  virtual OsHandle OpenForReading(std::u16string_view path) = 0;
  // ReadFile of at most size bytes. read is the number of bytes read: 0 at
  // the end of the file. False when the read fails.
  virtual bool ReadFile(OsHandle file, std::uint8_t* buffer, std::uint32_t size,
                        std::uint32_t& read) = 0;
  virtual bool CloseHandle(OsHandle file) = 0;
  // MultiByteToWideChar(codePage, flags 0) of exactly these bytes. False, with
  // text untouched, when the conversion fails; empty bytes convert to "".
  virtual bool MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes,
                                   std::u16string& text) = 0;
};

// Owns one open file and closes it once.
using FileOwner = HandleOwner<FilePort>;

}  // namespace glimmer
