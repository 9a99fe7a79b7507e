// A DLL that plays a planted system DLL: when loaded it leaves a marker file
// named by GLIMMERDALE_PLANTED_MARKER, and it exports the one entry the
// shell looks up, so that loading it would be noticed either way.
#include <windows.h>

extern "C" __declspec(dllexport) DWORD WINAPI PwdChangePasswordA(LPCSTR, HWND, DWORD, DWORD) {
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    wchar_t marker[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"GLIMMERDALE_PLANTED_MARKER", marker, MAX_PATH) > 0) {
      HANDLE file = CreateFileW(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
  }
  return TRUE;
}
