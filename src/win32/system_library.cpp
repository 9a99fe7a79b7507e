#include "win32/system_library.h"

#include <string>

namespace glimmer::win32 {

void RestrictDllSearchToSystemFolder() {
  // Takes the current folder out of the search path on every Windows version.
  SetDllDirectoryW(L"");
  // Where the loader supports it, only the system folder remains for DLLs
  // loaded later by name (Windows 8 and later, or 7 with its loader update).
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (HMODULE kernel = GetModuleHandleW(L"kernel32")) {
    if (auto setDefault = GetEntry<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories"))
      setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

Library LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L'\\';
  path += name;
  // A full path, and its own dependencies looked up beside it.
  return Library(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
}

}  // namespace glimmer::win32
