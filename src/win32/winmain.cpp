// Process entry of the screensaver shell.
#include <cstdlib>
#include <exception>

#include "app/shell.h"
#include "win32/modes_win32.h"
#include "win32/platform_win32.h"
#include "win32/system_library.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

// The shell lets no exception escape a mode, so a terminate means a broken
// process: it ends quietly rather than report in a console nobody sees.
// Replacing the library's verbose handler also keeps its demangler out of
// the shell.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::_Exit(3); }
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  glimmer::win32::RestrictDllSearchToSystemFolder();
  glimmer::win32::Win32Platform platform;
  glimmer::win32::Win32ModeHost host(instance);
  glimmer::RunShell(glimmer::win32::AsU16(GetCommandLineW()), host);
  return 0;
}
