#include "win32/system_win32.h"

#include <intrin.h>
#include <shlobj.h>

#include "win32/system_dlls.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

// The core's copies of the platform's numbers.
static_assert(kInvalidFileAttributes == INVALID_FILE_ATTRIBUTES);
static_assert(kCsidlProgramFiles == CSIDL_PROGRAM_FILES);
static_assert(kCsidlProgramFilesX86 == CSIDL_PROGRAM_FILESX86);
static_assert(kInfinite == INFINITE);
static_assert(kMbOk == MB_OK);
static_assert(kMbIconError == MB_ICONERROR);

namespace {

constexpr DWORD kPathBuffer = 2048;

// rdtsc faults when the system bars the counter to user code. A vectored
// handler steps over the faulting instruction and notes the fault, so the
// measurement can report it instead of the process dying.
thread_local bool tscFaulted = false;

LONG CALLBACK SkipFaultingRdtsc(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode != EXCEPTION_PRIV_INSTRUCTION)
    return EXCEPTION_CONTINUE_SEARCH;
#if defined(_M_X64) || defined(__x86_64__)
  auto* ip = reinterpret_cast<const unsigned char*>(info->ContextRecord->Rip);
#else
  auto* ip = reinterpret_cast<const unsigned char*>(info->ContextRecord->Eip);
#endif
  if (ip[0] != 0x0F || ip[1] != 0x31) return EXCEPTION_CONTINUE_SEARCH;
  tscFaulted = true;
#if defined(_M_X64) || defined(__x86_64__)
  info->ContextRecord->Rip += 2;
#else
  info->ContextRecord->Eip += 2;
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

bool Win32System::Kernel32HasEntry(std::string_view name) {
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  return kernel && GetProcAddress(kernel, std::string(name).c_str()) != nullptr;
}

bool Win32System::IsWow64Process(bool& wow64) {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = GetModuleHandleW(L"kernel32");
  auto isWow64 = kernel ? reinterpret_cast<IsWow64ProcessFn>(
                              reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")))
                        : nullptr;
  BOOL result = FALSE;
  if (!isWow64 || !isWow64(GetCurrentProcess(), &result)) return false;
  wow64 = result != FALSE;
  return true;
}

std::uint32_t Win32System::GetFileAttributes(std::u16string_view path) {
  return GetFileAttributesW(Wide(path).c_str());
}

bool Win32System::ReadTimeStampCounter(std::uint64_t& value) {
  PVOID handler = AddVectoredExceptionHandler(1, SkipFaultingRdtsc);
  tscFaulted = false;
  value = __rdtsc();
  if (handler) RemoveVectoredExceptionHandler(handler);
  return !tscFaulted;
}

bool Win32System::QueryPerformanceFrequency(std::int64_t& frequency) {
  LARGE_INTEGER value{};
  if (!::QueryPerformanceFrequency(&value)) return false;
  frequency = value.QuadPart;
  return true;
}

bool Win32System::QueryPerformanceCounter(std::int64_t& counter) {
  LARGE_INTEGER value{};
  if (!::QueryPerformanceCounter(&value)) return false;
  counter = value.QuadPart;
  return true;
}

bool Win32System::GetSpecialFolderPath(int csidl, std::u16string& path) {
  constexpr LazyEntry<decltype(&::SHGetSpecialFolderPathW)> getFolder{SystemDll::Shell32,
                                                                      "SHGetSpecialFolderPathW"};
  wchar_t buffer[kPathBuffer] = {};
  if (!getFolder.CallOr(FALSE, nullptr, buffer, csidl, FALSE)) return false;
  buffer[kPathBuffer - 1] = 0;
  path = AsU16(buffer);
  return true;
}

bool Win32System::GetCurrentDirectory(std::u16string& path) {
  wchar_t buffer[kPathBuffer] = {};
  const DWORD length = GetCurrentDirectoryW(kPathBuffer, buffer);
  // 0 is failure; a length of the buffer or more is the size it would need.
  if (length == 0 || length >= kPathBuffer) return false;
  path.assign(AsU16(buffer), length);
  return true;
}

bool Win32Processes::CreateProcess(std::u16string_view commandLine,
                                   std::u16string_view currentDirectory, ProcessHandles& started) {
  std::wstring line = Wide(commandLine);  // CreateProcessW may write into it
  const std::wstring folder = Wide(currentDirectory);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return false;
  started.process = reinterpret_cast<OsHandle>(info.hProcess);
  started.thread = reinterpret_cast<OsHandle>(info.hThread);
  return true;
}

std::uint32_t Win32Processes::WaitForSingleObject(OsHandle handle, std::uint32_t milliseconds) {
  return ::WaitForSingleObject(reinterpret_cast<HANDLE>(handle), milliseconds);
}

bool Win32Processes::CloseHandle(OsHandle handle) {
  return ::CloseHandle(reinterpret_cast<HANDLE>(handle)) != FALSE;
}

int Win32Ui::MessageBox(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                        std::uint32_t style) {
  return MessageBoxW(reinterpret_cast<HWND>(owner), Wide(text).c_str(), Wide(caption).c_str(),
                     style);
}

CursorHandle Win32Ui::ShowWaitCursor() {
  return reinterpret_cast<CursorHandle>(::SetCursor(LoadCursorW(nullptr, IDC_WAIT)));
}

void Win32Ui::SetCursor(CursorHandle cursor) { ::SetCursor(reinterpret_cast<HCURSOR>(cursor)); }

}  // namespace glimmer::win32
