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
  // The installers are 32-bit programs and write their uninstall key in the
  // 32-bit view, where the main program is looked for too; the native view
  // still comes first.
  for (const bool prefer64BitView : {true, false}) {
    if (!folder.empty()) break;
    ReadRegistryString(registry, system, kHkeyLocalMachine, kScreensaverUninstallKey,
                       kInstallLocationValue, folder, prefer64BitView);
  }
  return folder;
}

}  // namespace glimmer
