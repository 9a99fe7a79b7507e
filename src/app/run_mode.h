// The run mode: find the main program, start it without arguments and wait
// for it; the screensaver lasts as long as its process does.
#pragma once

#include <string>

#include "platform/ports.h"
#include "platform/registry_port.h"

namespace glimmer {

// The full path of the first main-program candidate that exists, or "".
std::u16string FindMainProgram(RegistryPort& registry, SystemPort& system);

// The mode. No catalogue is loaded here, so its two error boxes speak English.
void RunMainProgram(RegistryPort& registry, SystemPort& system, ProcessPort& processes, UiPort& ui);

}  // namespace glimmer
