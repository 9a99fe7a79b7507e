#include "win32/modes_win32.h"

#include <commctrl.h>
#include <objbase.h>

#include "win32/preview_win32.h"
#include "win32/settings_dialog_win32.h"
#include "win32/system_dlls.h"

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
  RunSettingsDialog(instance_, platform_, WindowFromNumber(ownerWindow));
}

void Win32ModeHost::Preview(std::int32_t parentWindow) {
  RunPreview(platform_.windows, WindowFromNumber(parentWindow));
}

void Win32ModeHost::ChangePassword() {
  constexpr LazyEntry<PwdChangePasswordFn> change{SystemDll::Mpr, "PwdChangePasswordA"};
  CallPasswordChange(change.Get());
}

void CallPasswordChange(PwdChangePasswordFn change) {
  // The legacy request of Windows 9x: the screensaver provider's password,
  // no owner window, no flags.
  if (change) change("SCRSAVE", nullptr, 0, 0);
}

}  // namespace glimmer::win32
