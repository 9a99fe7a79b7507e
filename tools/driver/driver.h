// Plays the display control panel and the user for end-to-end tests: starts
// the shell with its options, watches for its message boxes (reads caption
// and text, then dismisses them), waits for its exit, and arranges files,
// folders and environment for the main-program stand-in.
#pragma once

#include <shlobj.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "win32/owned_handle.h"
#include "win32/windows_api.h"

namespace glimmer::driver {

using win32::OwnedHandle;

struct MessageBoxSeen {
  std::wstring caption;
  std::wstring text;
};

struct ShellRun {
  bool started = false;
  bool exited = false;  // within the time allowed
  DWORD exitCode = 0;
  std::vector<MessageBoxSeen> boxes;
};

// The folder of the running executable, with a trailing backslash.
std::wstring ExecutableFolder();

// A message box's text is the static control with this id.
inline constexpr int kMessageBoxTextId = 0xFFFF;

// A steady clock's interval in milliseconds.
double Milliseconds(std::chrono::steady_clock::duration duration);

// `"program" arguments`, or `"program"` alone without arguments.
std::wstring CommandLineFor(const std::wstring& program, const std::wstring& arguments);

struct StartedProcess {
  OwnedHandle process;
  DWORD id = 0;
};

// Starts CommandLineFor(program, arguments) in folder (the current folder
// when empty) without waiting for it; process is null when the start fails.
StartedProcess StartProcess(const std::wstring& program, const std::wstring& arguments,
                            const std::wstring& folder = L"");

// Starts program with `"program" arguments` in folder (the current folder when
// empty), answers every message box the process shows with OK, recording it,
// and waits up to `limit` for the process to end.
ShellRun RunAndAnswer(const std::wstring& program, const std::wstring& arguments,
                      const std::wstring& folder, std::chrono::milliseconds limit);

// The top-level dialog windows (class "#32770") of a process.
std::vector<HWND> DialogsOf(DWORD processId);

// A running process's error mode (SetErrorMode), as GetErrorMode answers
// inside it; nothing when it cannot be asked, as for a process of the other
// bitness (a 32-bit shell under this 64-bit driver).
std::optional<UINT> ErrorModeOf(DWORD processId);
// Whether the process runs with this program's bitness.
bool SameBitness(HANDLE process);

// Files and folders.
bool MakeFolders(const std::wstring& path);  // every missing level
void RemoveTree(const std::wstring& path);   // no error when missing
bool CopyOver(const std::wstring& from, const std::wstring& to);
std::vector<std::string> ReadLines(const std::wstring& path);  // UTF-8 lines, no CR/LF
std::wstring TempFolder();                                     // with a trailing backslash
std::wstring FromUtf8(const std::string& text);
std::string ToUtf8(const std::wstring& text);

}  // namespace glimmer::driver
