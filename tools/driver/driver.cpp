#include "driver/driver.h"

#include <shellapi.h>
#include <shlobj.h>

#include <fstream>
#include <thread>

namespace glimmer::driver {
namespace {

struct DialogSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<DialogSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[64] = {};
  GetClassNameW(window, className, 64);
  if (owner == search->processId && std::wstring(className) == L"#32770" && IsWindowVisible(window))
    search->found.push_back(window);
  return TRUE;
}

std::wstring TextOf(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

}  // namespace

double Milliseconds(std::chrono::steady_clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

std::wstring ExecutableFolder() {
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

std::vector<HWND> DialogsOf(DWORD processId) {
  DialogSearch search{processId, {}};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool SameBitness(HANDLE process) {
  BOOL ours = FALSE, theirs = FALSE;
  return IsWow64Process(GetCurrentProcess(), &ours) && IsWow64Process(process, &theirs) &&
         ours == theirs;
}

std::optional<UINT> ErrorModeOf(DWORD processId) {
  // Only the process itself can tell: under Wine a child does not inherit
  // the error mode, and asking about another process answers the asker's.
  // kernel32 lies at the same address in every process of the session and
  // bitness, so a thread started there at GetErrorMode ends with the answer
  // as its code.
  const OwnedHandle process(OpenProcess(PROCESS_CREATE_THREAD | PROCESS_QUERY_INFORMATION |
                                            PROCESS_VM_OPERATION | PROCESS_VM_READ |
                                            PROCESS_VM_WRITE,
                                        FALSE, processId));
  const auto entry = reinterpret_cast<LPTHREAD_START_ROUTINE>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetErrorMode")));
  if (!process || entry == nullptr || !SameBitness(process.get())) return std::nullopt;
  const OwnedHandle thread(
      CreateRemoteThread(process.get(), nullptr, 0, entry, nullptr, 0, nullptr));
  DWORD mode = 0;
  if (!thread || WaitForSingleObject(thread.get(), 10000) != WAIT_OBJECT_0 ||
      !GetExitCodeThread(thread.get(), &mode))
    return std::nullopt;
  return mode;
}

std::wstring CommandLineFor(const std::wstring& program, const std::wstring& arguments) {
  return L"\"" + program + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
}

StartedProcess StartProcess(const std::wstring& program, const std::wstring& arguments,
                            const std::wstring& folder) {
  StartedProcess started;
  std::wstring line = CommandLineFor(program, arguments);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &info))
    return started;
  CloseHandle(info.hThread);
  started.process.reset(info.hProcess);
  started.id = info.dwProcessId;
  return started;
}

ShellRun RunAndAnswer(const std::wstring& program, const std::wstring& arguments,
                      const std::wstring& folder, std::chrono::milliseconds limit) {
  ShellRun run;
  const StartedProcess started = StartProcess(program, arguments, folder);
  if (!started.process) return run;
  run.started = true;
  const OwnedHandle& process = started.process;

  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (WaitForSingleObject(process.get(), 50) == WAIT_OBJECT_0) {
      run.exited = true;
      GetExitCodeProcess(process.get(), &run.exitCode);
      return run;
    }
    for (HWND box : DialogsOf(started.id)) {
      run.boxes.push_back({TextOf(box), TextOf(GetDlgItem(box, kMessageBoxTextId))});
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      // Give the box time to go away before looking again.
      for (int i = 0; i < 100 && IsWindow(box) && IsWindowVisible(box); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  TerminateProcess(process.get(), 255);
  WaitForSingleObject(process.get(), 5000);
  return run;
}

bool MakeFolders(const std::wstring& path) {
  const int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_ALREADY_EXISTS || result == ERROR_FILE_EXISTS;
}

void RemoveTree(const std::wstring& path) {
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  std::wstring from = path;
  from.push_back(L'\0');  // the list of paths ends with two NULs
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NO_UI;
  SHFileOperationW(&operation);
}

bool CopyOver(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

std::vector<std::string> ReadLines(const std::wstring& path) {
  std::vector<std::string> lines;
  std::ifstream file(path.c_str(), std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::wstring TempFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 1, path);
  std::wstring folder(path, length);
  if (folder.empty() || folder.back() != L'\\') folder.push_back(L'\\');
  return folder;
}

std::wstring FromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::string ToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

}  // namespace glimmer::driver
