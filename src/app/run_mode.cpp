#include "app/run_mode.h"

#include "platform/product.h"
#include "platform/registry.h"
#include "platform/system.h"
#include "platform/text.h"

namespace glimmer {
namespace {

std::u16string ReadValue(RegistryPort& registry, SystemPort& system, std::u16string_view key,
                         std::u16string_view value, bool prefer64BitView) {
  std::u16string text;
  ReadRegistryString(registry, system, kHkeyLocalMachine, key, value, text, prefer64BitView);
  return text;
}

void ShowError(UiPort& ui, std::u16string_view message) {
  ui.MessageBox(0, message, kErrorCaption, kMbOk | kMbIconError);
}

}  // namespace

std::u16string FindMainProgram(RegistryPort& registry, SystemPort& system) {
  // Each candidate is looked for before the next one is worked out: in the
  // usual case, a stored AppPath, the shell's folder functions (and the DLL
  // behind them) are never needed before the main program starts.
  std::u16string found;
  const auto exists = [&](std::u16string candidate) {
    if (FileExists(system, candidate)) found = std::move(candidate);
    return !found.empty();
  };
  const std::u16string file(kMainProgramFile);
  // A stored AppPath is trusted alone: the installers' keys are not consulted
  // even when it has gone stale.
  const std::u16string appPath = ReadValue(registry, system, kSettingsKey, kAppPathValue, true);
  if (!appPath.empty()) {
    if (exists(appPath + file)) return found;
  } else {
    // The uninstall keys in the view the 32-bit installers write.
    for (auto key : {kScreensaverUninstallKey, kCombinedUninstallKey}) {
      const std::u16string location =
          ReadValue(registry, system, key, kInstallLocationValue, false);
      if (!location.empty() && exists(location + file)) return found;
    }
  }
  std::u16string folder;
  // A 32-bit installer puts the product in the 32-bit program folder.
  const int programFiles = system.Is64BitProcess() ? kCsidlProgramFilesX86 : kCsidlProgramFiles;
  if (system.GetSpecialFolderPath(programFiles, folder) &&
      exists(folder + std::u16string(kProductFolder) + file))
    return found;
  folder.clear();
  if (system.GetCurrentDirectory(folder) && exists(folder + file)) return found;
  return {};
}

void RunMainProgram(RegistryPort& registry, SystemPort& system, ProcessPort& processes,
                    UiPort& ui) {
  const std::u16string path = FindMainProgram(registry, system);
  if (path.empty() || !FileExists(system, path)) {
    ShowError(ui, kMainFileMissingMessage);
    return;
  }

  std::u16string folder = InstallFolder(registry, system);
  if (folder.empty()) folder = FolderOfPath(path);

  ProcessHandles started;
  if (!processes.CreateProcess(u"\"" + path + u"\"", folder, started)) {
    ShowError(ui, kStartFailedMessage);
    return;
  }
  processes.WaitForSingleObject(started.process, kInfinite);
  processes.CloseHandle(started.thread);
  processes.CloseHandle(started.process);
}

}  // namespace glimmer
