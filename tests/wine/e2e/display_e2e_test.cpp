// The display part of the settings dialog as a user meets it on this machine:
// the one monitor in a disabled list without a multi-monitor entry, the
// antialiasing choices of the hardware device, and OK saving the chosen count;
// in the harness's two-monitor layout, both monitors and "Multi-monitor".
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/settings_driver.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

// A display device's monitor name as User32 tells it: its first active
// monitor, else the device itself.
std::wstring MonitorNameOf(const wchar_t* displayDevice) {
  DISPLAY_DEVICEW device{};
  device.cb = sizeof device;
  for (DWORD i = 0; EnumDisplayDevicesW(displayDevice, i, &device, 0); ++i)
    if (device.StateFlags & DISPLAY_DEVICE_ACTIVE) return device.DeviceString;
  return displayDevice;
}

std::wstring PrimaryMonitorName() {
  MONITORINFOEXW info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) return {};
  return MonitorNameOf(info.szDevice);
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
  if (GetSystemMetrics(SM_CMONITORS) != 1) GTEST_SKIP() << "one monitor only";
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

// Wine's two monitors are two heads of one Direct3D group, so the list offers
// both and "Multi-monitor"; what the user picks is what OK writes.
TEST_F(DisplayE2E, TwoMonitorsTheListTheMultiMonitorEntryAndWhatOkAndCancelWrite) {
  if (GetSystemMetrics(SM_CMONITORS) != 2) GTEST_SKIP() << "the two-monitor layout only";
  const std::vector<std::wstring> entries = {MonitorNameOf(L"\\\\.\\DISPLAY1"),
                                             MonitorNameOf(L"\\\\.\\DISPLAY2"), L"Multi-monitor"};
  {
    auto dialog = Open();
    if (!dialog->Dialog()) return;
    EXPECT_EQ(dialog->ComboEntries(IDC_MONITOR_LIST), entries);
    EXPECT_EQ(dialog->ComboData(IDC_MONITOR_LIST), (std::vector<LRESULT>{0, 1, 1000}));
    EXPECT_EQ(dialog->ComboSelection(IDC_MONITOR_LIST), 2) << "multi-monitor by default";
    EXPECT_TRUE(dialog->Enabled(IDC_MONITOR_LIST));
    EXPECT_TRUE(dialog->Enabled(IDC_BLANK_SCREENS)) << "after filling, whenever there are two";
    EXPECT_EQ(dialog->Check(IDC_BLANK_SCREENS), 1);
    // The blank-screens box serves a single monitor only.
    for (const auto& [entry, enabled] : {std::pair{1, true}, {2, false}, {1, true}}) {
      dialog->ChooseComboEntry(IDC_MONITOR_LIST, entry);
      EXPECT_EQ(dialog->Enabled(IDC_BLANK_SCREENS), enabled) << "after entry " << entry;
    }
    dialog->Click(IDC_BLANK_SCREENS);
    dialog->Click(IDOK);
    ASSERT_EQ(dialog->WaitForExit(), DWORD{0});
  }
  EXPECT_EQ(Setting(L"EnableMultiMonitorMode"), L"2: 0");
  EXPECT_EQ(Setting(L"CurMonitor"), L"2: 1");
  EXPECT_EQ(Setting(L"ShowBlackScreens"), L"2: 0");

  // Reopened as saved; a choice cancelled writes nothing.
  const auto saved = KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  {
    auto dialog = Open();
    if (!dialog->Dialog()) return;
    EXPECT_EQ(dialog->ComboSelection(IDC_MONITOR_LIST), 1);
    EXPECT_EQ(dialog->Check(IDC_BLANK_SCREENS), 0);
    dialog->ChooseComboEntry(IDC_MONITOR_LIST, 2);
    EXPECT_FALSE(dialog->Enabled(IDC_BLANK_SCREENS));
    dialog->Click(IDCANCEL);
    ASSERT_EQ(dialog->WaitForExit(), DWORD{0});
  }
  EXPECT_EQ(KeyValues(HKEY_LOCAL_MACHINE, kSettingsKeyPath), saved);

  // "Multi-monitor" chosen and confirmed: the master monitor is the first.
  {
    auto dialog = Open();
    if (!dialog->Dialog()) return;
    dialog->ChooseComboEntry(IDC_MONITOR_LIST, 2);
    dialog->Click(IDOK);
    ASSERT_EQ(dialog->WaitForExit(), DWORD{0});
  }
  EXPECT_EQ(Setting(L"EnableMultiMonitorMode"), L"2: 1");
  EXPECT_EQ(Setting(L"CurMonitor"), L"2: 0");
}

}  // namespace
}  // namespace glimmer::driver
