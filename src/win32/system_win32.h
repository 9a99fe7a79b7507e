// The system, process and message-box ports over Win32.
#pragma once

#include "platform/ports.h"

namespace glimmer::win32 {

class Win32System final : public SystemPort {
 public:
  bool Kernel32HasEntry(std::string_view name) override;
  bool IsWow64Process(bool& wow64) override;
  std::uint32_t GetFileAttributes(std::u16string_view path) override;
  bool ReadTimeStampCounter(std::uint64_t& value) override;
  bool QueryPerformanceFrequency(std::int64_t& frequency) override;
  bool QueryPerformanceCounter(std::int64_t& counter) override;
  bool GetSpecialFolderPath(int csidl, std::u16string& path) override;
  bool GetCurrentDirectory(std::u16string& path) override;
  bool Is64BitProcess() override { return sizeof(void*) == 8; }
};

class Win32Processes final : public ProcessPort {
 public:
  bool CreateProcess(std::u16string_view commandLine, std::u16string_view currentDirectory,
                     ProcessHandles& started) override;
  std::uint32_t WaitForSingleObject(OsHandle handle, std::uint32_t milliseconds) override;
  bool CloseHandle(OsHandle handle) override;
};

class Win32Ui final : public UiPort {
 public:
  int MessageBox(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                 std::uint32_t style) override;
  CursorHandle ShowWaitCursor() override;
  void SetCursor(CursorHandle cursor) override;
};

}  // namespace glimmer::win32
