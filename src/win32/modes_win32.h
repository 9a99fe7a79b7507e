// The modes that need the windowing platform.
#pragma once

#include "app/shell.h"
#include "platform/platform.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

// MPR.DLL's PwdChangePasswordA.
using PwdChangePasswordFn = DWORD(WINAPI*)(LPCSTR provider, HWND owner, DWORD reserved1,
                                           DWORD reserved2);

// The password-change mode's call, through entry (nothing when it is missing).
void CallPasswordChange(PwdChangePasswordFn change);

class Win32ModeHost final : public ModeHost {
 public:
  Win32ModeHost(HINSTANCE instance, const Platform& platform)
      : instance_(instance), platform_(platform) {}

  void StartUp() override;
  void ShutDown() override;
  void Configure(std::int32_t ownerWindow) override;
  void Preview(std::int32_t parentWindow) override;
  void ChangePassword() override;

 private:
  HINSTANCE instance_;
  const Platform& platform_;
  bool comInitialised_ = false;
};

}  // namespace glimmer::win32
