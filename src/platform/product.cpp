#include "platform/product.h"

#include "platform/registry.h"

namespace glimmer {

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
