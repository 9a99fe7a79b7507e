#include "win32/system_dlls.h"

#include <array>
#include <string>

namespace glimmer::win32 {
namespace {

constexpr std::array<const wchar_t*, 11> kNames = {
    L"shell32.dll", L"ole32.dll", L"oleaut32.dll", L"comctl32.dll", L"comdlg32.dll", L"d3d9.dll",
    L"d3d11.dll",   L"ddraw.dll", L"mpr.dll",      L"bcrypt.dll",   L"user32.dll"};

HMODULE LoadFromSystemFolder(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(folder, length);
  path += L'\\';
  path += name;
  // A full path, and its own dependencies looked up beside it.
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

HMODULE Load(SystemDll dll) {
  if (dll == SystemDll::ComCtl32) {
    // By name, so the manifest's activation context binds the version-6
    // controls; the search flag keeps every other folder out. A full path
    // would bypass the binding and give the old controls.
    if (HMODULE bound = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
      return bound;
    // Loaders without the search flags refuse it: the system folder's copy.
  }
  return LoadFromSystemFolder(SystemDllName(dll));
}

}  // namespace

void RestrictDllSearchToSystemFolder() {
  // Takes the current folder out of the search path on every Windows version.
  SetDllDirectoryW(L"");
  // Where the loader supports it, only the system folder remains for DLLs
  // loaded later by name (Windows 8 and later, or 7 with its loader update).
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  if (HMODULE kernel = GetModuleHandleW(L"kernel32")) {
    if (auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories"))))
      setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

const wchar_t* SystemDllName(SystemDll dll) { return kNames.at(static_cast<size_t>(dll)); }

HMODULE SystemDllModule(SystemDll dll) {
  // Never freed: whatever a mode made with them lives until the process ends.
  static std::array<HMODULE, kNames.size()> loaded{};
  HMODULE& slot = loaded.at(static_cast<size_t>(dll));
  if (slot == nullptr) slot = Load(dll);
  return slot;
}

}  // namespace glimmer::win32
