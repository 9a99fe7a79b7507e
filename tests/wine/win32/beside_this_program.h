// Files the build puts in this test program's folder, the shell among them.
#pragma once

#include <string>

#include "win32/windows_api.h"

namespace glimmer::win32 {

inline std::wstring BesideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

}  // namespace glimmer::win32
