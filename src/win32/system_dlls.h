// The system DLLs the shell calls into beyond its imports (advapi32, kernel32,
// msvcrt and the delay-loaded user32), and user32 for the entries that older
// systems lack: a delay-loaded call to a missing entry ends the process. Each
// is loaded from the system folder when a mode first calls into it, never at
// process start (under Wine each imported DLL costs the run mode tens of
// milliseconds), and stays loaded until the process ends: loading d3d9.dll or
// ddraw.dll again sets up the whole device layer anew.
//
// A screensaver is often started from a download folder, where a planted DLL
// with a system name would otherwise be found first; so DLLs come from the
// system folder only, and the process's search path is narrowed to it first.
#pragma once

#include <utility>

#include "win32/windows_api.h"

namespace glimmer::win32 {

enum class SystemDll {
  Shell32,
  Ole32,
  OleAut32,
  ComCtl32,
  ComDlg32,
  Direct3D9,
  Direct3D11,
  DirectDraw,
  Mpr,
  BCrypt,
  User32,
};

// Restricts the process's DLL search to the system folder. Called first thing.
void RestrictDllSearchToSystemFolder();

// The file name the DLL is loaded by ("shell32.dll", ...).
const wchar_t* SystemDllName(SystemDll dll);

// The DLL, loaded on first use and kept until the process ends; null when it
// cannot be loaded (asked again next time).
HMODULE SystemDllModule(SystemDll dll);

// One entry of a system DLL with the exact type of its declaration, e.g.
//   constexpr LazyEntry<decltype(&::CoUninitialize)> coUninitialize{SystemDll::Ole32,
//                                                                   "CoUninitialize"};
// decltype does not reference the function, so nothing is imported.
template <typename Function>
class LazyEntry {
 public:
  constexpr LazyEntry(SystemDll dll, const char* name) : dll_(dll), name_(name) {}

  // Null when the DLL or the entry is missing.
  Function Get() const {
    const HMODULE module = SystemDllModule(dll_);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name_)));
  }

  // The entry's result, or missing when it cannot be reached.
  template <typename Result, typename... Args>
  Result CallOr(Result missing, Args&&... args) const {
    const Function entry = Get();
    return entry != nullptr ? static_cast<Result>(entry(std::forward<Args>(args)...)) : missing;
  }

  // For entries without a result: nothing happens when it cannot be reached.
  template <typename... Args>
  void Call(Args&&... args) const {
    if (const Function entry = Get()) entry(std::forward<Args>(args)...);
  }

 private:
  SystemDll dll_;
  const char* name_;
};

}  // namespace glimmer::win32
