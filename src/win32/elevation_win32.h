// The elevation port over shell32's ShellExecuteExW, kernel32's file mappings
// advapi32's security descriptors and bcrypt's random numbers.
#pragma once

#include "platform/elevation_port.h"

namespace glimmer::win32 {

class Win32Elevation final : public ElevationPort {
 public:
  bool GetModuleFileName(std::u16string& path) override;
  long ShellExecuteRunAs(std::uint32_t mask, WindowHandle owner, std::u16string_view file,
                         std::u16string_view parameters, OsHandle& process) override;
  bool GetExitCodeProcess(OsHandle process, std::uint32_t& code) override;
  long CreateSharedMemory(std::u16string_view name, const std::vector<std::uint8_t>& bytes,
                          OsHandle& section) override;
  long ReadSharedMemory(std::u16string_view name, std::size_t maxSize,
                        std::vector<std::uint8_t>& bytes) override;
  bool GenerateRandom(std::uint8_t* buffer, std::uint32_t size) override;
};

}  // namespace glimmer::win32
