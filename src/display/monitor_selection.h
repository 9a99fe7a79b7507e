// The monitor list, the blank-screens box and the video-mode controls of a
// settings dialog, over the display inventory and the settings tree.
//
// Every index taken from the settings or from a list is checked against the
// inventory: one past its records reads as no record (no mode, position 0)
// and nothing is written for it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/node.h"
#include "display/display_inventory.h"
#include "settings/dialog_controls.h"

namespace glimmer {

// Item data of the "Multi-monitor" entry; d >= this means multi-monitor mode
// with master monitor d - this.
inline constexpr std::intptr_t kMultiMonitorItemData = 1000;
// A monitor entry's text holds this many code units with its terminator.
inline constexpr std::size_t kMonitorEntryCapacity = 80;

void FillMonitorList(DisplayInventory& inventory, Node& settings, DialogControls& controls);
void FillModeList(DisplayInventory& inventory, Node& settings, DialogControls& controls);
void OnMonitorChosen(DisplayInventory& inventory, Node& settings, DialogControls& controls);
void OnModeChosen(DisplayInventory& inventory, Node& settings, DialogControls& controls);
void OnDesktopResolutionClicked(DisplayInventory& inventory, Node& settings,
                                DialogControls& controls);
void OnBlankScreensClicked(Node& settings, DialogControls& controls);

// Bits per pixel shown for a D3DFORMAT: 32, 16, or 0 for any other format.
std::int32_t ModeBitDepth(std::int32_t format);

// The per-monitor keys (UseDesktopRes, ModeWidth, ModeHeight, ModeFormat):
// monitor n writes key followed by n, except that n <= 0 writes the plain
// key; reading falls back from key followed by n to the plain key.
std::u16string PerMonitorKeyToWrite(std::u16string_view key, std::int32_t monitor);
Node::Value& ReadPerMonitor(Node& settings, std::u16string_view key, std::int32_t monitor);

}  // namespace glimmer
