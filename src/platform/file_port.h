// Reading the user's playlist files: the few kernel32 calls the editor makes,
// with the same shapes. Only M3U files are read, and nothing is ever written.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

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

// Owns one open file and closes it once. Move-only: a copy would close twice.
class FileOwner {
 public:
  FileOwner() = default;
  FileOwner(FilePort& port, OsHandle file) : port_(&port), file_(file) {}
  FileOwner(const FileOwner&) = delete;
  FileOwner& operator=(const FileOwner&) = delete;
  FileOwner(FileOwner&& other) noexcept
      : port_(other.port_), file_(std::exchange(other.file_, 0)) {}
  FileOwner& operator=(FileOwner&& other) noexcept {
    if (this != &other) {
      Close();
      port_ = other.port_;
      file_ = std::exchange(other.file_, 0);
    }
    return *this;
  }
  ~FileOwner() { Close(); }

  OsHandle get() const { return file_; }
  explicit operator bool() const { return file_ != 0; }
  void Close() {
    if (file_ != 0 && port_ != nullptr) port_->CloseHandle(std::exchange(file_, 0));
  }

 private:
  FilePort* port_ = nullptr;
  OsHandle file_ = 0;
};

}  // namespace glimmer
