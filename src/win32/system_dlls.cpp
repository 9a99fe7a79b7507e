#include "win32/system_dlls.h"

#include <array>

#include "win32/system_library.h"

namespace glimmer::win32 {
namespace {

constexpr std::array<const wchar_t*, 5> kNames = {L"shell32.dll", L"ole32.dll", L"oleaut32.dll",
                                                  L"comctl32.dll", L"comdlg32.dll"};

Library Load(SystemDll dll) {
  if (dll == SystemDll::ComCtl32) {
    // By name, so the manifest's activation context binds the version-6
    // controls; the search flag keeps every other folder out. A full path
    // would bypass the binding and give the old controls.
    if (HMODULE bound = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32))
      return Library(bound);
    // Loaders without the search flags refuse it: the system folder's copy.
  }
  return LoadSystemLibrary(SystemDllName(dll));
}

}  // namespace

const wchar_t* SystemDllName(SystemDll dll) { return kNames.at(static_cast<size_t>(dll)); }

HMODULE SystemDllModule(SystemDll dll) {
  // Freed at exit, after every mode has let go of what it made with them.
  static std::array<Library, kNames.size()> loaded;
  Library& slot = loaded.at(static_cast<size_t>(dll));
  if (!slot) slot = Load(dll);
  return slot.get();
}

}  // namespace glimmer::win32
