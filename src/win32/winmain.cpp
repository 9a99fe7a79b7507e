// Process entry of the screensaver shell.
#include "app/shell.h"
#include "elevation/elevated_save.h"
#include "win32/modes_win32.h"
#include "win32/platform_win32.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace {

// A crash of the elevated instance must never read as a save: Windows gives
// the exception's code, but Wine gives 0, and the user's instance trusts 0.
LONG WINAPI EndAsNotWritten(EXCEPTION_POINTERS*) {
  TerminateProcess(GetCurrentProcess(), glimmer::kElevatedSaveNotWritten);
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // Before any mode tests a path: one on an empty card reader or DVD drive
  // would otherwise bring up the system's "There is no disk in the drive" box.
  // Whatever else the starter set is kept, and passed on to the main program.
  SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS);
  glimmer::win32::RestrictDllSearchToSystemFolder();
  const std::u16string_view commandLine = glimmer::win32::AsU16(GetCommandLineW());
  if (glimmer::ElevatedSaveToken(commandLine)) SetUnhandledExceptionFilter(EndAsNotWritten);
  glimmer::win32::Win32Platform platform;
  glimmer::win32::Win32ModeHost host(instance, platform.Ports());
  return glimmer::RunShell(commandLine, platform.Ports(), host);
}
