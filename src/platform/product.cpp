#include "platform/product.h"

#include "platform/registry.h"

namespace glimmer {

bool IsSettingValue(std::u16string_view name, std::int32_t number) {
  for (const SettingRange& setting : kSettingRanges) {
    if (!name.starts_with(setting.name)) continue;
    const std::u16string_view suffix = name.substr(setting.name.size());
    // Monitors 1 to 8 take one digit; the first monitor has none.
    const bool named = suffix.empty() || (setting.perMonitor && suffix.size() == 1 &&
                                          suffix[0] >= u'1' && suffix[0] < u'0' + kMostMonitors);
    if (named) return number >= setting.lowest && number <= setting.highest;
  }
  return false;
}

std::u16string InstallFolder(RegistryPort& registry, SystemPort& system) {
  std::u16string folder;
  ReadRegistryString(registry, system, kHkeyLocalMachine, kSettingsKey, kAppPathValue, folder,
                     true);
  if (folder.empty())
    ReadRegistryString(registry, system, kHkeyLocalMachine, kScreensaverUninstallKey,
                       kInstallLocationValue, folder, true);
  return folder;
}

}  // namespace glimmer
