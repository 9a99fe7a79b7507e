#include "driver/standard_user.h"

#include "elevation/elevated_save.h"
#include "win32/elevation_win32.h"
#include "win32/system_win32.h"
#include "win32/wide.h"

// clang-format off
#include "win32/windows_api.h"
#include <winternl.h>
// clang-format on

namespace glimmer::driver {
namespace {

// The token of this process with the Administrators deny-only.
OwnedHandle StandardUserToken() {
  HANDLE own = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_QUERY,
                        &own))
    return nullptr;
  const OwnedHandle token(own);
  BYTE sid[SECURITY_MAX_SID_SIZE] = {};
  DWORD size = sizeof(sid);
  if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, sid, &size)) return nullptr;
  SID_AND_ATTRIBUTES disabled{sid, 0};
  HANDLE restricted = nullptr;
  if (!CreateRestrictedToken(token.get(), 0, 1, &disabled, 0, nullptr, 0, nullptr, &restricted))
    return nullptr;
  return OwnedHandle(restricted);
}

// The command line of a process stopped at its creation, from its process
// parameters.
std::wstring CommandLineOf(HANDLE process) {
  using QueryFn = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), nullptr) != 0)
    return L"(unreadable)";
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS parameters{};
  if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof(peb), nullptr) ||
      !ReadProcessMemory(process, peb.ProcessParameters, &parameters, sizeof(parameters), nullptr))
    return L"(unreadable)";
  std::wstring line(parameters.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!ReadProcessMemory(process, parameters.CommandLine.Buffer, line.data(),
                         parameters.CommandLine.Length, nullptr))
    return L"(unreadable)";
  return line;
}

}  // namespace

StandardUserProcess::StandardUserProcess(const std::wstring& program, const std::wstring& arguments,
                                         Consent consent)
    : consent_(consent) {
  const std::wstring line = CommandLineFor(program, arguments);
  thread_ = std::thread([this, line] { Debug(line); });
  std::unique_lock<std::mutex> lock(mutex_);
  ready_.wait(lock, [this] { return processId_ != 0 || done_; });
}

StandardUserProcess::~StandardUserProcess() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (process_ && WaitForSingleObject(process_, 0) != WAIT_OBJECT_0)
      TerminateProcess(process_, 255);
  }
  if (thread_.joinable()) thread_.join();
}

OwnedHandle StandardUserProcess::Process() const {
  std::lock_guard<std::mutex> lock(mutex_);
  HANDLE copy = nullptr;
  if (!process_ ||
      !DuplicateHandle(GetCurrentProcess(), process_, GetCurrentProcess(), &copy,
                       SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, 0))
    return nullptr;
  return OwnedHandle(copy);
}

std::vector<std::wstring> StandardUserProcess::StartedCommandLines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return started_;
}

// The held child's line, run with this process's own token; the child, still
// at its creation, ends with that run's exit code.
void StandardUserProcess::Grant(const std::wstring& line, DWORD processId) {
  const OwnedHandle held(OpenProcess(PROCESS_TERMINATE, FALSE, processId));
  DWORD code = 1;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring writable = line;
  if (CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    const OwnedHandle elevated(info.hProcess);
    if (WaitForSingleObject(elevated.get(), 30000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(elevated.get(), &code))
      code = 1;
  }
  if (held) TerminateProcess(held.get(), code);
}

// Debug events must be waited for by the thread that made the process.
void StandardUserProcess::Debug(std::wstring line) {
  const OwnedHandle token = StandardUserToken();
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!token || !CreateProcessAsUserW(token.get(), nullptr, line.data(), nullptr, nullptr, FALSE,
                                      DEBUG_PROCESS, nullptr, nullptr, &startup, &info)) {
    std::lock_guard<std::mutex> lock(mutex_);
    done_ = true;
    ready_.notify_all();
    return;
  }
  CloseHandle(info.hThread);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    processId_ = info.dwProcessId;
    process_ = info.hProcess;
    ready_.notify_all();
  }
  for (;;) {
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, INFINITE)) break;
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.dwProcessId != info.dwProcessId) {
          const std::wstring started = CommandLineOf(event.u.CreateProcessInfo.hProcess);
          {
            std::lock_guard<std::mutex> lock(mutex_);
            started_.push_back(started);
          }
          if (consent_ == Consent::Granted &&
              started.find(L" --glimmerdale-elevated-save ") != std::wstring::npos)
            Grant(started, event.dwProcessId);
        }
        if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        break;
      case EXCEPTION_DEBUG_EVENT:
        // The loader's breakpoint is ours to pass; every other exception is
        // the program's own to handle.
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT)
          status = DBG_EXCEPTION_NOT_HANDLED;
        break;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT && event.dwProcessId == info.dwProcessId)
      break;
  }
  std::lock_guard<std::mutex> lock(mutex_);
  done_ = true;
}

ShellRun RunElevatedInstance(const std::vector<std::uint8_t>& request) {
  win32::Win32Elevation elevation;
  win32::Win32Processes processes;
  const std::wstring token = L"00112233445566778899aabbccddeeff";
  OsHandle mapping = 0;
  if (elevation.CreateSharedMemory(RequestMappingName(win32::U16(token)), request, mapping) !=
      kErrorSuccess)
    return {};
  ShellRun run =
      RunAndAnswer(ExecutableFolder() + L"Glimmerdale.scr", L"--glimmerdale-elevated-save " + token,
                   L"", std::chrono::seconds(20));
  processes.CloseHandle(mapping);
  return run;
}

}  // namespace glimmer::driver
