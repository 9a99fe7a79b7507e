#include "settings/monitor_controls.h"

#include "display/monitor_selection.h"
#include "i18n/format.h"
#include "platform/product.h"
#include "resource_ids.h"

namespace glimmer {
namespace {

using keys::kCurMonitor;
using keys::kEnableMultiMonitorMode;
using keys::kModeFormat;
using keys::kModeHeight;
using keys::kModeWidth;
using keys::kShowBlackScreens;
using keys::kUseDesktopRes;

std::int32_t CurrentMonitor(Node& settings) { return settings[kCurMonitor].AsInt(); }

// The item data of a list's selected entry; false when nothing is selected.
bool SelectedItemData(DialogControls& controls, ControlId id, std::intptr_t& data) {
  const int selected = controls.ComboGetCurSel(id);
  if (selected < 0) return false;
  data = controls.ComboGetItemData(id, selected);
  return data != kCbErr;
}

}  // namespace

void FillMonitorList(DisplayInventory& inventory, Node& settings, DialogControls& controls,
                     const TextCatalog& catalog) {
  const std::uint32_t count = inventory.MonitorCount();
  // A monitor removed since the settings were saved: start on the first.
  if (count > 0 && settings[kCurMonitor].AsUInt() >= count) settings[kCurMonitor] = 0;

  controls.ComboResetContent(IDC_MONITOR_LIST);
  controls.SetCheck(IDC_BLANK_SCREENS, settings[kShowBlackScreens].AsInt());
  const bool several = count > 1;
  controls.Enable(IDC_BLANK_SCREENS, several);
  controls.Enable(IDC_MONITOR_LIST, several);

  const std::int32_t current = CurrentMonitor(settings);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::u16string text = CutToCapacity(
        FormatText(u"%s", {inventory.Monitor(i)->displayName}), kMonitorEntryCapacity);
    const int position = controls.ComboAddString(IDC_MONITOR_LIST, text);
    if (position < 0) continue;
    controls.ComboSetItemData(IDC_MONITOR_LIST, position, static_cast<std::intptr_t>(i));
    if (static_cast<std::int64_t>(i) == current)
      controls.ComboSetCurSel(IDC_MONITOR_LIST, position);
  }

  if (several && inventory.FirstAdapterCaps().numberOfAdaptersInGroup > 1) {
    const int position =
        controls.ComboAddString(IDC_MONITOR_LIST, catalog.Translate(u"Multi-monitor"));
    if (position >= 0) {
      controls.ComboSetItemData(IDC_MONITOR_LIST, position, kMultiMonitorItemData);
      if (settings[kEnableMultiMonitorMode].AsInt() != 0)
        controls.ComboSetCurSel(IDC_MONITOR_LIST, position);
    }
  }
}

void FillModeList(DisplayInventory& inventory, Node& settings, DialogControls& controls) {
  const std::int32_t monitor = CurrentMonitor(settings);
  const std::uint32_t index = static_cast<std::uint32_t>(monitor);
  controls.ComboResetContent(IDC_MODE_LIST);

  const std::int32_t useDesktop = ReadPerMonitor(settings, kUseDesktopRes, monitor).AsInt();
  const std::uint32_t width = ReadPerMonitor(settings, kModeWidth, monitor).AsUInt();
  const std::uint32_t height = ReadPerMonitor(settings, kModeHeight, monitor).AsUInt();
  const std::int32_t format = ReadPerMonitor(settings, kModeFormat, monitor).AsInt();

  // The monitor index stands for the Direct3D ordinal here, as the main
  // program reads it the same way.
  const D3dDisplayMode wanted =
      useDesktop != 0 ? inventory.DesktopModeNow(index) : D3dDisplayMode{width, height, 0, format};
  const std::uint32_t selected = inventory.FindModeIndex(index, wanted);

  controls.SetCheck(IDC_DESKTOP_RESOLUTION, useDesktop);
  controls.Enable(IDC_MODE_LIST, useDesktop == 0);

  const DeviceRecord* device = inventory.FirstDevice(index);
  if (!device) return;
  for (std::uint32_t j = 0; j < device->modeCount; ++j) {
    const ModeRecord& mode = device->modes[j];
    const int position = controls.ComboAddString(
        IDC_MODE_LIST,
        FormatText(u"%ld x %ld x %ld", {mode.width, mode.height, ModeBitDepth(mode.format)}));
    if (position < 0) continue;
    controls.ComboSetItemData(IDC_MODE_LIST, position, static_cast<std::intptr_t>(j));
    if (j == selected) controls.ComboSetCurSel(IDC_MODE_LIST, position);
  }
}

void OnMonitorChosen(DisplayInventory& inventory, Node& settings, DialogControls& controls) {
  std::intptr_t data = 0;
  if (!SelectedItemData(controls, IDC_MONITOR_LIST, data) || data < 0) return;
  const bool multi = data >= kMultiMonitorItemData;
  settings[kEnableMultiMonitorMode] = multi ? 1 : 0;
  settings[kCurMonitor] = static_cast<std::int32_t>(multi ? data - kMultiMonitorItemData : data);
  FillModeList(inventory, settings, controls);
  controls.Enable(IDC_BLANK_SCREENS, !multi);
}

void OnModeChosen(DisplayInventory& inventory, Node& settings, DialogControls& controls) {
  std::intptr_t data = 0;
  if (!SelectedItemData(controls, IDC_MODE_LIST, data) || data < 0) return;
  const std::int32_t monitor = CurrentMonitor(settings);
  const std::uint32_t index = static_cast<std::uint32_t>(monitor);
  const std::uint32_t j = static_cast<std::uint32_t>(data);
  if (static_cast<std::uintptr_t>(data) != j || !inventory.SetCurrentMode(index, j)) return;
  const ModeRecord& mode = inventory.FirstDevice(index)->modes[j];
  settings[PerMonitorKeyToWrite(kModeWidth, monitor)] = static_cast<std::int32_t>(mode.width);
  settings[PerMonitorKeyToWrite(kModeHeight, monitor)] = static_cast<std::int32_t>(mode.height);
  settings[PerMonitorKeyToWrite(kModeFormat, monitor)] = mode.format;
}

void OnDesktopResolutionClicked(DisplayInventory& inventory, Node& settings,
                                DialogControls& controls) {
  const int checked = controls.GetCheck(IDC_DESKTOP_RESOLUTION);
  const std::int32_t monitor = CurrentMonitor(settings);
  const std::uint32_t index = static_cast<std::uint32_t>(monitor);
  settings[PerMonitorKeyToWrite(kUseDesktopRes, monitor)] = checked;
  controls.SetCheck(IDC_DESKTOP_RESOLUTION, checked);
  controls.Enable(IDC_MODE_LIST, checked == 0);

  std::uint32_t position = 0;
  if (checked != 0) {
    if (const AdapterRecord* adapter = inventory.Adapter(index))
      position = inventory.FindModeIndex(index, adapter->desktopMode);
  } else if (const DeviceRecord* device = inventory.FirstDevice(index)) {
    position = device->currentMode;
  }
  controls.ComboSetCurSel(IDC_MODE_LIST, static_cast<int>(position));
}

void OnBlankScreensClicked(Node& settings, DialogControls& controls) {
  settings[kShowBlackScreens] = controls.GetCheck(IDC_BLANK_SCREENS);
}

}  // namespace glimmer
