#include "settings/settings_table.h"

#include "platform/product.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace glimmer {

void SetDefaultSettings(Node& settings, const HardwarePorts& hardware) {
  // Measured first: the rule needs all three readings.
  const QualityDefaults quality = MeasureQualityDefaults(hardware);
  using namespace keys;
  settings[kHighQualityTextures] = quality.highQualityTextures;
  settings[kEnableMultiMonitorMode] = 1;
  settings[kShowBlackScreens] = 1;
  settings[kShowFps] = 0;
  settings[kDisableOnMouseActivate] = 1;
  settings[kMusicVolumePercentage] = kDefaultVolume;
  settings[kDisableMusic] = 0;
  settings[kSoundsVolumePercentage] = kDefaultVolume;
  settings[kDisableSound] = 0;
  settings[kMonitorAspectRatio] = kAutodetectAspectRatio;
  settings[kUseDesktopRes] = 1;
  settings[kUsePlaylist] = 0;
  settings[kHighQualityGraphics] = quality.highQualityGraphics;
  settings[kAntialiasing] = quality.antialiasing;
  settings[kShufflePlayList] = 1;
}

// A 32-bit process on 64-bit Windows keeps the settings in the native view.
void LoadSavedSettings(Node& settings, RegistryPort& registry, SystemPort& system) {
  settings.LoadFromRegistry(registry, kHkeyLocalMachine, kSettingsKey, RunsUnderWow64(system));
}

bool WriteSettings(const Node& settings, RegistryPort& registry, SystemPort& system,
                   long* failure) {
  return settings.SaveToRegistry(registry, kHkeyLocalMachine, kSettingsKey, RunsUnderWow64(system),
                                 failure);
}

std::u16string StartupCommand(RegistryPort& registry, SystemPort& system) {
  const std::u16string folder = InstallFolder(registry, system);
  if (folder.empty()) return {};
  return u"\"" + folder + std::u16string(kMainProgramFile) + u"\" /w";
}

bool RunsAtStartup(RegistryPort& registry, SystemPort& system) {
  const std::u16string command = StartupCommand(registry, system);
  if (command.empty()) return false;
  std::u16string stored;
  ReadRegistryString(registry, system, kHkeyCurrentUser, kRunKey, kRunValue, stored, true);
  return stored == command;
}

void WriteStartupEntry(RegistryPort& registry, SystemPort& system, bool checked) {
  WriteRegistryString(registry, system, kHkeyCurrentUser, kRunKey, kRunValue,
                      checked ? StartupCommand(registry, system) : u"", /*prefer64BitView=*/true);
}

}  // namespace glimmer
