// Process entry of the screensaver shell.
#include "app/shell.h"
#include "win32/modes_win32.h"
#include "win32/platform_win32.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  glimmer::win32::RestrictDllSearchToSystemFolder();
  glimmer::win32::Win32Platform platform;
  glimmer::win32::Win32ModeHost host(instance, platform.Ports());
  return glimmer::RunShell(glimmer::win32::AsU16(GetCommandLineW()), platform.Ports(), host);
}
