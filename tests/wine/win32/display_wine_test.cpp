// The display inventory, the monitor and mode lists and the antialiasing list
// over the real Direct3D 9, Direct3D 11 and User32, with the controls in
// memory. Expectations come from asking User32 directly. The harness shows
// one monitor, or two in its two-monitor layout; each test names its own.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "display/display_inventory.h"
#include "fakes/fake_dialog_controls.h"
#include "platform/text.h"
#include "resource_ids.h"
#include "settings/antialiasing_controls.h"
#include "settings/monitor_controls.h"
#include "win32/direct3d11_win32.h"
#include "win32/direct3d9_win32.h"
#include "win32/monitor_win32.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer {
namespace {

using fakes::FakeDialogControls;

class DisplayWine : public testing::Test {
 protected:
  DisplayWine() { settings_ = std::make_unique<Node>(); }

  HResult Enumerate() {
    return inventory_.EnumerateDisplayAdapters(
        *settings_, [](const D3dCaps&, std::uint32_t, std::int32_t) { return kSOk; });
  }

  // The primary monitor's name as User32 tells it: the first active monitor
  // on its display device, else the device itself.
  static std::u16string PrimaryMonitorName(RECT& rect) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    EXPECT_TRUE(GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info));
    rect = info.rcMonitor;
    DISPLAY_DEVICEW device{};
    device.cb = sizeof device;
    for (DWORD i = 0; EnumDisplayDevicesW(info.szDevice, i, &device, 0); ++i)
      if (device.StateFlags & DISPLAY_DEVICE_ACTIVE) return win32::U16(device.DeviceString);
    return win32::U16(info.szDevice);
  }

  // The median of runs timings of action, in milliseconds.
  static double MedianMilliseconds(int runs, const std::function<void()>& action) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
      const auto start = std::chrono::steady_clock::now();
      action();
      times.push_back(
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
  }

  static int Monitors() { return GetSystemMetrics(SM_CMONITORS); }

  win32::Win32Direct3D9 direct3d9_;
  win32::Win32Direct3D11 direct3d11_;
  win32::Win32Monitors monitors_;
  std::unique_ptr<Node> settings_;
  DisplayInventory inventory_{direct3d9_, monitors_};
  TextCatalog catalog_;
  FakeDialogControls controls_ = FakeDialogControls::SettingsDialog();
};

TEST_F(DisplayWine, InventoryRecordsTheScreen) {
  if (Monitors() != 1) GTEST_SKIP() << "one monitor only";
  ASSERT_EQ(Enumerate(), kSOk);
  ASSERT_EQ(inventory_.AdapterCount(), 1u);
  ASSERT_EQ(inventory_.MonitorCount(), 1u);
  EXPECT_EQ(inventory_.FirstAdapterCaps().numberOfAdaptersInGroup, 1u);

  const AdapterRecord* adapter = inventory_.Adapter(0);
  const auto width = static_cast<std::uint32_t>(GetSystemMetrics(SM_CXSCREEN));
  const auto height = static_cast<std::uint32_t>(GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(adapter->desktopMode.width, width);
  EXPECT_EQ(adapter->desktopMode.height, height);
  EXPECT_EQ(adapter->desktopMode.format, kD3dFmtX8R8G8B8);

  // The one mode is the screen, with hardware vertex processing; Wine offers
  // no D32, so D24X8 is the first depth format that fits.
  const DeviceRecord* device = inventory_.FirstDevice(0);
  ASSERT_NE(device, nullptr);
  ASSERT_EQ(device->modeCount, 1u);
  const ModeRecord& mode = device->modes[0];
  EXPECT_EQ(mode.width, width);
  EXPECT_EQ(mode.height, height);
  EXPECT_EQ(mode.format, kD3dFmtX8R8G8B8);
  EXPECT_EQ(mode.vertexProcessing, kD3dCreateHardwareVertexProcessing);
  EXPECT_EQ(mode.depthStencilFormat, kD3dFmtD24X8);
  EXPECT_TRUE(device->desktopFormatUsable);
  EXPECT_EQ(inventory_.FindModeIndex(0, adapter->desktopMode), 0u);

  RECT rect{};
  const std::u16string name = PrimaryMonitorName(rect);
  const MonitorRecord* monitor = inventory_.Monitor(0);
  EXPECT_EQ(monitor->displayName, name) << ToUtf8(monitor->displayName);
  EXPECT_EQ(monitor->description, FromUtf8(adapter->identifier.description));
  EXPECT_FALSE(monitor->description.empty());
  EXPECT_EQ(monitor->desktopRect, (ScreenRect{rect.left, rect.top, rect.right, rect.bottom}));
  std::printf("[ display  ] %s on %s, %ux%u, depth format %d\n",
              ToUtf8(monitor->description).c_str(), ToUtf8(name).c_str(), width, height,
              mode.depthStencilFormat);

  inventory_.QueryFirstAdapter();
  EXPECT_EQ(inventory_.FirstAdapterCaps().adapterOrdinal, 0u);
  EXPECT_EQ(inventory_.Adapter(0)->identifier.description, adapter->identifier.description);
}

TEST_F(DisplayWine, MonitorAndModeListsOfTheScreen) {
  if (Monitors() != 1) GTEST_SKIP() << "one monitor only";
  ASSERT_EQ(Enumerate(), kSOk);
  (*settings_)[u"EnableMultiMonitorMode"] = 1;
  (*settings_)[u"UseDesktopRes"] = 1;
  RECT rect{};
  const std::u16string name = PrimaryMonitorName(rect);

  // The product's template: one disabled entry and no multi-monitor entry.
  FillMonitorList(inventory_, *settings_, controls_, catalog_);
  FillModeList(inventory_, *settings_, controls_);
  EXPECT_EQ(controls_.ComboTexts(IDC_MONITOR_LIST), std::vector<std::u16string>{name});
  EXPECT_EQ(controls_.ComboSelectedText(IDC_MONITOR_LIST), name);
  EXPECT_FALSE(controls_.IsEnabled(IDC_MONITOR_LIST));
  EXPECT_FALSE(controls_.IsEnabled(IDC_BLANK_SCREENS));

  // With the mode controls, the desktop mode Direct3D reports now is selected.
  controls_.Add(IDC_MODE_LIST, FakeDialogControls::Kind::Combo);
  controls_.Add(IDC_DESKTOP_RESOLUTION, FakeDialogControls::Kind::CheckBox);
  FillModeList(inventory_, *settings_, controls_);
  const std::u16string screen = AsciiToUtf16(std::to_string(rect.right - rect.left) + " x " +
                                             std::to_string(rect.bottom - rect.top) + " x 32");
  EXPECT_EQ(controls_.ComboTexts(IDC_MODE_LIST), std::vector<std::u16string>{screen});
  EXPECT_EQ(controls_.ComboSelectedText(IDC_MODE_LIST), screen);
}

// Two Xinerama screens, 1280 x 1024 and 1024 x 768, both at 0,0: Wine
// reports two monitors on two display devices and Direct3D 9 a group of two
// heads whose second has a desktop of 0 x 0 in no format and lists the first
// head's mode. The inventory records both heads; the list offers both
// monitors and "Multi-monitor".
TEST_F(DisplayWine, TwoMonitorsAsWineReportsThem) {
  if (Monitors() != 2) GTEST_SKIP() << "the two-monitor layout only";
  ASSERT_EQ(Enumerate(), kSOk);
  ASSERT_EQ(inventory_.AdapterCount(), 2u);
  ASSERT_EQ(inventory_.MonitorCount(), 2u);
  EXPECT_EQ(inventory_.FirstAdapterCaps().numberOfAdaptersInGroup, 2u);
  const std::pair<std::uint32_t, std::uint32_t> desktops[] = {{1280, 1024}, {0, 0}};
  const ScreenRect rects[] = {{0, 0, 1280, 1024}, {0, 0, 1024, 768}};
  for (std::uint32_t a = 0; a < 2; ++a) {
    SCOPED_TRACE(a);
    const AdapterRecord* adapter = inventory_.Adapter(a);
    EXPECT_EQ(adapter->desktopMode.width, desktops[a].first);
    EXPECT_EQ(adapter->desktopMode.height, desktops[a].second);
    EXPECT_EQ(adapter->desktopMode.format, a == 0 ? kD3dFmtX8R8G8B8 : kD3dFmtUnknown);
    const DeviceRecord* device = inventory_.FirstDevice(a);
    ASSERT_NE(device, nullptr);
    ASSERT_EQ(device->modeCount, 1u);
    EXPECT_EQ(device->modes[0].width, 1280u);
    EXPECT_EQ(device->modes[0].height, 1024u);
    EXPECT_EQ(inventory_.FindModeIndex(a, adapter->desktopMode), 0u);
    EXPECT_EQ(inventory_.Monitor(a)->desktopRect, rects[a]);
    std::printf(
        "[ display  ] adapter %u: %s on %s, desktop %ux%u format %d, monitor %ld,%ld-%ld,%ld\n", a,
        adapter->identifier.description.c_str(), ToUtf8(inventory_.Monitor(a)->displayName).c_str(),
        adapter->desktopMode.width, adapter->desktopMode.height, adapter->desktopMode.format,
        static_cast<long>(rects[a].left), static_cast<long>(rects[a].top),
        static_cast<long>(rects[a].right), static_cast<long>(rects[a].bottom));
  }

  (*settings_)[u"EnableMultiMonitorMode"] = 1;
  (*settings_)[u"CurMonitor"] = 1;
  FillMonitorList(inventory_, *settings_, controls_, catalog_);
  const std::u16string name = inventory_.Monitor(0)->displayName;
  EXPECT_EQ(
      controls_.ComboTexts(IDC_MONITOR_LIST),
      (std::vector<std::u16string>{name, inventory_.Monitor(1)->displayName, u"Multi-monitor"}));
  EXPECT_EQ(controls_.ComboSelectedText(IDC_MONITOR_LIST), u"Multi-monitor");
  EXPECT_TRUE(controls_.IsEnabled(IDC_MONITOR_LIST));
  EXPECT_TRUE(controls_.IsEnabled(IDC_BLANK_SCREENS));
  // The second head's mode list is the first head's mode.
  controls_.Add(IDC_MODE_LIST, FakeDialogControls::Kind::Combo);
  controls_.Add(IDC_DESKTOP_RESOLUTION, FakeDialogControls::Kind::CheckBox);
  (*settings_)[u"UseDesktopRes1"] = 1;
  FillModeList(inventory_, *settings_, controls_);
  EXPECT_EQ(controls_.ComboTexts(IDC_MODE_LIST), std::vector<std::u16string>{u"1280 x 1024 x 32"});
  EXPECT_EQ(controls_.ComboSelectedText(IDC_MODE_LIST), u"1280 x 1024 x 32");
}

TEST_F(DisplayWine, AntialiasingListOfTheHardwareDevice) {
  for (std::int32_t saved : {4, 1}) {
    (*settings_)[u"Antialiasing"] = saved;
    FillAntialiasingList(*settings_, controls_, direct3d11_);
    EXPECT_EQ(controls_.ComboTexts(IDC_ANTIALIASING_LIST), std::vector<std::u16string>{u"4x"});
    EXPECT_EQ(controls_.ComboSelectedText(IDC_ANTIALIASING_LIST), u"4x");
    controls_.SetCheck(IDC_ANTIALIASING, 1);
    EXPECT_EQ(AntialiasingToSave(*settings_, controls_), 4);
  }
}

TEST_F(DisplayWine, Timings) {
  const double enumerate = MedianMilliseconds(7, [&] { EXPECT_EQ(Enumerate(), kSOk); });
  const double fill =
      MedianMilliseconds(7, [&] { FillAntialiasingList(*settings_, controls_, direct3d11_); });
  std::printf(
      "[ timing   ] EnumerateDisplayAdapters median %.1f ms, FillAntialiasingList median %.1f ms "
      "(7 runs each)\n",
      enumerate, fill);
  RecordProperty("EnumerateDisplayAdaptersMs", std::to_string(enumerate));
  RecordProperty("FillAntialiasingListMs", std::to_string(fill));
}

}  // namespace
}  // namespace glimmer
