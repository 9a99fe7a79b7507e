// Small system helpers: WOW64 detection, path existence, processor clock.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/ports.h"

namespace glimmer {

// True when this 32-bit process runs on 64-bit Windows. Asked anew on every
// call; false whenever it cannot tell.
bool RunsUnderWow64(SystemPort& system);

// True when path names any existing file system object, file or folder.
bool FileExists(SystemPort& system, std::u16string_view path);

// The processor clock in MHz, from the time-stamp counter over a 50 ms busy wait.
std::int32_t MeasureCpuMhz(SystemPort& system);

}  // namespace glimmer
