// The result codes the core passes around: the platform's HRESULTs, of which
// it tells apart only success and failure.
#pragma once

#include <cstdint>

namespace glimmer {

using HResult = std::int32_t;
inline constexpr HResult kSOk = 0;
inline constexpr HResult kSFalse = 1;
inline constexpr HResult kEFail = static_cast<HResult>(0x80004005u);

// SUCCEEDED: every code with the severity bit clear (S_FALSE included).
inline constexpr bool Succeeded(HResult result) { return result >= 0; }

}  // namespace glimmer
