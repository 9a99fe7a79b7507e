// The product's settings: their defaults, loading and saving the settings
// tree, and the start-up entry that runs the wallpaper at log-on. The keys
// themselves are product facts (platform/product.h).
#pragma once

#include <cstdint>
#include <string>

#include "config/node.h"
#include "display/video_memory.h"
#include "platform/ports.h"
#include "platform/registry_port.h"

namespace glimmer {

inline constexpr std::int32_t kDefaultVolume = 15;
inline constexpr std::int32_t kAutodetectAspectRatio = 4;

// Writes every default into settings, the three hardware-dependent ones
// measured anew; keys without a default are left alone.
void SetDefaultSettings(Node& settings, const HardwarePorts& hardware);

// Merges the settings key over what settings holds; the result is not used:
// an unreadable key leaves the defaults.
void LoadSavedSettings(Node& settings, RegistryPort& registry, SystemPort& system);

// Writes the tree to the settings key; false when a key or value could not
// be written (what was written before stays), with the refusal's code in
// failure when given.
bool WriteSettings(const Node& settings, RegistryPort& registry, SystemPort& system,
                   long* failure = nullptr);

// "\"<install folder>\Glimmerdale 3D Screensaver.exe\" /w", or "" without an
// install folder.
std::u16string StartupCommand(RegistryPort& registry, SystemPort& system);

// True when the stored Run entry would start the wallpaper. An empty command
// starts nothing, so it never counts, even when the stored value is empty too.
bool RunsAtStartup(RegistryPort& registry, SystemPort& system);

// Writes the Run entry: the command when checked, else the empty string. The
// value is always written, never deleted; the result is not looked at.
void WriteStartupEntry(RegistryPort& registry, SystemPort& system, bool checked);

}  // namespace glimmer
