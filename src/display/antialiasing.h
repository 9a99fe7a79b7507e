// The antialiasing levels the graphics hardware supports: the sample counts
// from 2 to 31 that Direct3D 11 accepts for a 32-bit RGBA render target.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/direct3d11_port.h"

namespace glimmer {

inline constexpr std::uint32_t kFewestSamples = 2;
inline constexpr std::uint32_t kMostSamples = 31;

// The supported counts in increasing order; none without a Direct3D 11
// hardware device on the default adapter.
std::vector<std::uint32_t> SupportedSampleCounts(Direct3D11Port& direct3d11);

}  // namespace glimmer
