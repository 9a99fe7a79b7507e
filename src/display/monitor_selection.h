// The rules of monitor and video-mode choice that do not depend on how they
// are shown: the bit depth a mode is listed with, and the per-monitor keys.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/node.h"

namespace glimmer {

// Bits per pixel shown for a D3DFORMAT: 32, 16, or 0 for any other format.
std::int32_t ModeBitDepth(std::int32_t format);

// The per-monitor keys (UseDesktopRes, ModeWidth, ModeHeight, ModeFormat):
// monitor n writes key followed by n, except that n <= 0 writes the plain
// key; reading falls back from key followed by n to the plain key.
std::u16string PerMonitorKeyToWrite(std::u16string_view key, std::int32_t monitor);
Node::Value& ReadPerMonitor(Node& settings, std::u16string_view key, std::int32_t monitor);

}  // namespace glimmer
