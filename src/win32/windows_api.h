// <windows.h> for the adapters. The ports name their operations after the
// Win32 calls they mirror, and several of those names are macros here
// (GetFileAttributes -> GetFileAttributesW, GetNextWindow(h, c), ...). The
// adapters call the W functions by their full names, so the generic macros
// are dropped to keep the port declarations the same in every file.
#pragma once

#include <windows.h>

#undef CreateProcess
#undef GetCurrentDirectory
#undef GetFileAttributes
#undef GetNextWindow
#undef GetWindowText
#undef MessageBox
#undef ReadTimeStampCounter
#undef SetWindowText
#undef GetTopWindow
#undef GetClassName
#undef PostMessage
#undef RegisterWindowMessage
#undef GetMonitorInfo
#undef EnumDisplayDevices
#undef GetModuleFileName

#include <cstdint>

namespace glimmer::win32 {

// The command line's window number as a handle (handles are sign-extended).
inline HWND WindowFromNumber(std::int32_t number) {
  return reinterpret_cast<HWND>(static_cast<INT_PTR>(number));
}

}  // namespace glimmer::win32
