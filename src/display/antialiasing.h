// The antialiasing levels the graphics hardware supports: the sample counts
// from 2 to 31 that Direct3D 11 accepts for a 32-bit RGBA render target.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/direct3d11_port.h"
#include "platform/product.h"

namespace glimmer {

// The supported counts in increasing order; none without a Direct3D 11
// hardware device on the default adapter.
std::vector<std::uint32_t> SupportedSampleCounts(Direct3D11Port& direct3d11);

}  // namespace glimmer
