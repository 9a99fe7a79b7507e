#include "win32/modes_win32.h"

#include <commctrl.h>
#include <objbase.h>

#include "win32/preview_win32.h"
#include "win32/settings_dialog_win32.h"
#include "win32/system_dlls.h"
#include "win32/system_library.h"

namespace glimmer::win32 {

void Win32ModeHost::StartUp() {
  constexpr LazyEntry<decltype(&::CoInitialize)> coInitialize{SystemDll::Ole32, "CoInitialize"};
  constexpr LazyEntry<decltype(&::InitCommonControlsEx)> initControls{SystemDll::ComCtl32,
                                                                      "InitCommonControlsEx"};
  comInitialised_ = SUCCEEDED(coInitialize.CallOr(E_FAIL, nullptr));
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_BAR_CLASSES;
  initControls.CallOr(FALSE, &controls);
}

void Win32ModeHost::ShutDown() {
  constexpr LazyEntry<decltype(&::CoUninitialize)> coUninitialize{SystemDll::Ole32,
                                                                  "CoUninitialize"};
  if (comInitialised_) coUninitialize.Call();
  comInitialised_ = false;
}

void Win32ModeHost::Configure(std::int32_t ownerWindow) {
  RunSettingsDialog(instance_, WindowFromNumber(ownerWindow));
}

void Win32ModeHost::Preview(std::int32_t parentWindow) {
  RunPreview(WindowFromNumber(parentWindow));
}

void Win32ModeHost::ChangePassword() {
  Library mpr = LoadSystemLibrary(L"mpr.dll");
  if (!mpr) return;
  using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, DWORD);
  if (auto change = GetEntry<PwdChangePasswordFn>(mpr.get(), "PwdChangePasswordA"))
    change("SCRSAVE", nullptr, 0, 0);
}

}  // namespace glimmer::win32
