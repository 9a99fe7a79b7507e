// The antialiasing quality list: the sample counts the graphics hardware
// supports, and the value saved for the "Antialiasing" setting.
#pragma once

#include <cstdint>

#include "config/node.h"
#include "settings/dialog_controls.h"

namespace glimmer {

// The sample counts the list offers when the hardware supports them.
inline constexpr std::uint32_t kFewestSamples = 2;
inline constexpr std::uint32_t kMostSamples = 31;

// Fills the quality list and selects the entry of the saved value, or the top
// entry when no entry has it.
void FillAntialiasingList(Node& settings, DialogControls& controls);

// The value OK saves for "Antialiasing": 0 when the box is clear, else the
// chosen sample count. A ticked box with no chosen count (no Direct3D 11
// device, so an empty list) keeps the tree's value when it is not 0, else 1:
// on, no count chosen yet.
std::int32_t AntialiasingToSave(Node& settings, DialogControls& controls);

}  // namespace glimmer
