// The antialiasing box and quality list of the settings dialog, and the value
// they give the "Antialiasing" setting.
#pragma once

#include <cstdint>

#include "config/node.h"
#include "dialog/dialog_controls.h"
#include "platform/direct3d11_port.h"

namespace glimmer {

// Fills the quality list with the counts the hardware supports and selects the
// entry of the saved value, or the top entry when no entry has it.
void FillAntialiasingList(Node& settings, DialogControls& controls, Direct3D11Port& direct3d11);

// The value OK saves for "Antialiasing": 0 when the box is clear, else the
// chosen sample count. A ticked box with no chosen count (no Direct3D 11
// device, so an empty list) keeps the tree's value when it is not 0, else 1:
// on, no count chosen yet.
std::int32_t AntialiasingToSave(Node& settings, DialogControls& controls);

}  // namespace glimmer
