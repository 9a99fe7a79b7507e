// Saving as a standard user: what it takes to start the shell's own elevated
// instance and hand it the values to write. The calls of ShellExecuteExW,
// GetExitCodeProcess, named file mappings and the system's random numbers,
// with their shapes; waiting and closing are the process port's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"
#include "platform/registry_port.h"

#ifdef _WIN32
#undef GetModuleFileName
#endif

namespace glimmer {

// Win32 error codes of this port.
inline constexpr long kErrorAlreadyExists = 183;
inline constexpr long kErrorCancelled = 1223;  // the user declined the UAC prompt

// ShellExecuteExW's fMask bits.
inline constexpr std::uint32_t kSeeMaskClassName = 0x00000001;
inline constexpr std::uint32_t kSeeMaskNoCloseProcess = 0x00000040;
inline constexpr std::uint32_t kSeeMaskNoAsync = 0x00000100;
inline constexpr std::uint32_t kSeeMaskFlagNoUi = 0x00000400;
inline constexpr std::uint32_t kSeeMaskNoZoneChecks = 0x00800000;

class ElevationPort {
 public:
  virtual ~ElevationPort() = default;

  // GetModuleFileNameW(NULL): the program's own full path; false when it
  // cannot be read or does not fit.
  virtual bool GetModuleFileName(std::u16string& path) = 0;

  // ShellExecuteExW with mask (kSeeMaskNoCloseProcess and kSeeMaskClassName
  // among its bits), the verb "runas", the class "exefile" (the screensaver
  // type need not offer "runas", the program type does), file, parameters,
  // owner as the prompt's owner, SW_HIDE. kErrorSuccess with the process
  // handle to wait for and close, or GetLastError's code: kErrorCancelled
  // when the user declined.
  virtual long ShellExecuteRunAs(std::uint32_t mask, WindowHandle owner, std::u16string_view file,
                                 std::u16string_view parameters, OsHandle& process) = 0;

  // GetExitCodeProcess.
  virtual bool GetExitCodeProcess(OsHandle process, std::uint32_t& code) = 0;

  // CreateFileMappingW of the paging file, PAGE_READWRITE, bytes.size() long,
  // named name, with a DACL that lets this process's user read and write it
  // and the Administrators read it, and nobody else anything; bytes are
  // copied in. kErrorAlreadyExists (and no handle) when an object of that
  // name exists already: someone else's, so it is not used.
  virtual long CreateSharedMemory(std::u16string_view name, const std::vector<std::uint8_t>& bytes,
                                  OsHandle& section) = 0;

  // OpenFileMappingW(FILE_MAP_READ, no inheritance, name) and a copy of its
  // view from the start, at most maxSize bytes (the system rounds the view
  // up to whole pages, which read as zeros past what was written). The
  // handle is closed again. GetLastError's code on failure.
  virtual long ReadSharedMemory(std::u16string_view name, std::size_t maxSize,
                                std::vector<std::uint8_t>& bytes) = 0;

  // BCryptGenRandom with the system's preferred generator: size bytes.
  virtual bool GenerateRandom(std::uint8_t* buffer, std::uint32_t size) = 0;
};

}  // namespace glimmer
