// DLLs loaded by name come from the system folder only: a screensaver is often
// started from a download folder, where a planted DLL with a system name
// would otherwise be found first.
#pragma once

#include <memory>

#include "win32/windows_api.h"

namespace glimmer::win32 {

struct LibraryDeleter {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

// Restricts the process's DLL search to the system folder. Called first thing.
void RestrictDllSearchToSystemFolder();

// Loads name (for example L"mpr.dll") from the system folder; null on failure.
Library LoadSystemLibrary(const wchar_t* name);

// GetProcAddress cast to the function type the caller names.
template <typename Function>
Function GetEntry(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace glimmer::win32
