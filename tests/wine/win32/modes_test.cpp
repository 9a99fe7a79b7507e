// What the mode host does around the modes: the password-change request it
// forwards, and COM opened for the windowed modes and closed after them.
#include <gtest/gtest.h>
#include <objbase.h>

#include <string>
#include <thread>

#include "win32/modes_win32.h"
#include "win32/platform_win32.h"

namespace glimmer::win32 {
namespace {

struct PasswordCall {
  std::string provider;
  HWND owner;
  DWORD reserved1;
  DWORD reserved2;
};
PasswordCall* recorded = nullptr;

DWORD WINAPI RecordPasswordChange(LPCSTR provider, HWND owner, DWORD reserved1, DWORD reserved2) {
  *recorded = {provider, owner, reserved1, reserved2};
  return 0;
}

TEST(PasswordChange, AsksForTheScreensaverPasswordWithoutOwnerOrFlags) {
  PasswordCall call{"unset", reinterpret_cast<HWND>(1), 7, 7};
  recorded = &call;
  CallPasswordChange(RecordPasswordChange);
  recorded = nullptr;
  EXPECT_EQ(call.provider, "SCRSAVE");
  EXPECT_EQ(call.owner, nullptr);
  EXPECT_EQ(call.reserved1, 0u);
  EXPECT_EQ(call.reserved2, 0u);
  CallPasswordChange(nullptr);  // MPR.DLL without the entry: nothing happens
}

// On a thread of its own, where COM starts closed.
TEST(ModeHost, StartUpOpensComForTheModeAndShutDownClosesIt) {
  Win32Platform platform;
  std::thread([&platform] {
    Win32ModeHost host(GetModuleHandleW(nullptr), platform.Ports());
    host.StartUp();
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "already open";
    CoUninitialize();
    host.ShutDown();
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "closed again, once";
    CoUninitialize();
    host.ShutDown();  // a second shut-down closes nothing more
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
  }).join();
}

}  // namespace
}  // namespace glimmer::win32
