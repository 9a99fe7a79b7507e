// Files in memory for the playlist reader: bytes by path (compared without
// ASCII case, as Windows compares names; anything else, folders included,
// does not open), reads cut into chunks of any size, and the code pages the product
// meets (1252, 1251 and UTF-8; the ANSI code page is one of the first two).
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/file_port.h"

namespace glimmer::fakes {

class FakeFiles : public FilePort {
 public:
  std::uint32_t ansiCodePage = 1252;
  // Each read returns at most this many bytes (0: as many as asked for).
  std::uint32_t readChunk = 0;
  // Reads fail once this many bytes of a file have been read.
  std::size_t readFailsAfter = static_cast<std::size_t>(-1);

  void Put(std::u16string_view path, std::string_view bytes);
  std::size_t OpenHandleCount() const { return open_.size(); }
  std::size_t OpenCalls() const { return openCalls_; }

  OsHandle OpenForReading(std::u16string_view path) override;
  bool ReadFile(OsHandle file, std::uint8_t* buffer, std::uint32_t size,
                std::uint32_t& read) override;
  bool CloseHandle(OsHandle file) override;
  bool MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes,
                           std::u16string& text) override;

 private:
  struct OpenFile {
    std::string bytes;
    std::size_t position = 0;
  };
  static std::u16string Folded(std::u16string_view path);

  std::map<std::u16string, std::string> files_;  // by folded path
  std::map<OsHandle, OpenFile> open_;
  OsHandle nextHandle_ = 0x400;
  std::size_t openCalls_ = 0;
};

}  // namespace glimmer::fakes
