// The monitor list, the blank-screens box and the video-mode controls of the
// settings dialog, over the display inventory and the settings tree.
//
// Every index taken from the settings or from a list is checked against the
// inventory: one past its records reads as no record (no mode, position 0)
// and nothing is written for it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "config/node.h"
#include "dialog/dialog_controls.h"
#include "display/display_inventory.h"
#include "i18n/text_catalog.h"

namespace glimmer {

// Item data of the "Multi-monitor" entry; d >= this means multi-monitor mode
// with master monitor d - this.
inline constexpr std::intptr_t kMultiMonitorItemData = 1000;
// A monitor entry's text holds this many code units with its terminator.
inline constexpr std::size_t kMonitorEntryCapacity = 80;

void FillMonitorList(DisplayInventory& inventory, Node& settings, DialogControls& controls,
                     const TextCatalog& catalog);
void FillModeList(DisplayInventory& inventory, Node& settings, DialogControls& controls);
void OnMonitorChosen(DisplayInventory& inventory, Node& settings, DialogControls& controls);
void OnModeChosen(DisplayInventory& inventory, Node& settings, DialogControls& controls);
void OnDesktopResolutionClicked(DisplayInventory& inventory, Node& settings,
                                DialogControls& controls);
void OnBlankScreensClicked(Node& settings, DialogControls& controls);

}  // namespace glimmer
