// The display part of the settings dialog as a user meets it on this machine:
// the one monitor in a disabled list without a multi-monitor entry, the
// antialiasing choices of the hardware device, and OK saving the chosen count.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/settings_driver.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

// The primary monitor's name as User32 tells it: the first active monitor on
// its display device, else the device itself.
std::wstring PrimaryMonitorName() {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) return {};
  DISPLAY_DEVICEW device{};
  device.cb = sizeof device;
  for (DWORD i = 0; EnumDisplayDevicesW(info.szDevice, i, &device, 0); ++i)
    if (device.StateFlags & DISPLAY_DEVICE_ACTIVE) return device.DeviceString;
  return info.szDevice;
}

class DisplayE2E : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath); }
  void TearDown() override { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath); }

  std::unique_ptr<SettingsSession> Open() {
    auto session = std::make_unique<SettingsSession>(
        L"/c " + std::to_wstring(reinterpret_cast<INT_PTR>(owner_.Handle())));
    EXPECT_TRUE(session->Started());
    EXPECT_NE(session->WaitForDialog(), nullptr) << "no settings dialog";
    return session;
  }
  static std::wstring Setting(const wchar_t* name) {
    return GetString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, name).value_or(L"(missing)");
  }

  OwnerWindow owner_;
};

TEST_F(DisplayE2E, OneMonitorAndTheHardwaresSampleCounts) {
  // Ticked or not as saved, OK writes the list's count or 0.
  for (const wchar_t* saved : {L"2: 0", L"2: 4"}) {
    PutString(HKEY_LOCAL_MACHINE, kSettingsKeyPath, L"Antialiasing", saved);
    auto dialog = Open();
    if (!dialog->Dialog()) return;

    EXPECT_EQ(dialog->ComboEntries(IDC_MONITOR_LIST),
              std::vector<std::wstring>{PrimaryMonitorName()});
    EXPECT_EQ(dialog->ComboData(IDC_MONITOR_LIST), std::vector<LRESULT>{0});
    EXPECT_EQ(dialog->ComboSelection(IDC_MONITOR_LIST), 0);
    EXPECT_FALSE(dialog->Enabled(IDC_MONITOR_LIST));
    EXPECT_FALSE(dialog->Enabled(IDC_BLANK_SCREENS));

    EXPECT_EQ(dialog->ComboEntries(IDC_ANTIALIASING_LIST), std::vector<std::wstring>{L"4x"});
    EXPECT_EQ(dialog->ComboData(IDC_ANTIALIASING_LIST), std::vector<LRESULT>{4});
    EXPECT_EQ(dialog->ComboSelection(IDC_ANTIALIASING_LIST), 0);
    const bool ticked = std::wstring(saved) != L"2: 0";
    EXPECT_EQ(dialog->Check(IDC_ANTIALIASING), ticked ? 1 : 0);
    EXPECT_EQ(dialog->Enabled(IDC_ANTIALIASING_LIST), ticked);

    if (!ticked) {
      // The box stays clear: 0 is saved whatever the list shows.
      dialog->Click(IDOK);
      ASSERT_EQ(dialog->WaitForExit(), DWORD{0});
      EXPECT_EQ(Setting(L"Antialiasing"), L"2: 0");
      continue;
    }
    dialog->Click(IDC_ANTIALIASING);
    EXPECT_FALSE(dialog->Enabled(IDC_ANTIALIASING_LIST));
    dialog->Click(IDC_ANTIALIASING);
    EXPECT_TRUE(dialog->Enabled(IDC_ANTIALIASING_LIST));
    dialog->Click(IDOK);
    ASSERT_EQ(dialog->WaitForExit(), DWORD{0});
    EXPECT_EQ(Setting(L"Antialiasing"), L"2: 4");
  }
}

}  // namespace
}  // namespace glimmer::driver
