// The least a launcher can do: start the program its command line names and
// wait for it. Built like the shell, it is the yardstick for the run mode:
//   launcher "C:\path\program.exe"
// runs exactly that command line (the rest of this program's own line).
#include <windows.h>

namespace {

// The command line after this program's own first token, as the shell's
// parser skips it: a quoted token whole, otherwise up to the first blank.
wchar_t* AfterFirstToken(wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line != 0 && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != 0 && *line != L' ') ++line;
  }
  while (*line == L' ') ++line;
  return line;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t* command = AfterFirstToken(GetCommandLineW());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (*command == 0 || !CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr,
                                       nullptr, &startup, &info))
    return 1;
  WaitForSingleObject(info.hProcess, INFINITE);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return 0;
}
