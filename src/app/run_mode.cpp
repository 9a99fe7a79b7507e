#include "app/run_mode.h"

#include "i18n/text_catalog.h"
#include "platform/ports.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace glimmer {
namespace {

std::u16string ReadValue(std::u16string_view key, std::u16string_view value, bool prefer64BitView) {
  std::u16string text;
  ReadRegistryString(kHkeyLocalMachine, key, value, text, prefer64BitView);
  return text;
}

void ShowError(std::u16string_view message) {
  Ui().MessageBox(0, Translate(message), Translate(kErrorCaption), kMbOk | kMbIconError);
}

}  // namespace

std::u16string FindMainProgram() {
  // Each candidate is looked for before the next one is worked out: in the
  // usual case, a stored AppPath, the shell's folder functions (and the DLL
  // behind them) are never needed before the main program starts.
  std::u16string found;
  const auto exists = [&found](std::u16string candidate) {
    if (FileExists(candidate)) found = std::move(candidate);
    return !found.empty();
  };
  const std::u16string file(kMainProgramFile);
  // A stored AppPath is trusted alone: the installers' keys are not consulted
  // even when it has gone stale.
  const std::u16string appPath = ReadValue(kSettingsKey, kAppPathValue, true);
  if (!appPath.empty()) {
    if (exists(appPath + file)) return found;
  } else {
    for (auto key : {kScreensaverUninstallKey, kCombinedUninstallKey}) {
      const std::u16string location = ReadValue(key, kInstallLocationValue, false);
      if (!location.empty() && exists(location + file)) return found;
    }
  }
  std::u16string folder;
  // A 32-bit installer puts the product in the 32-bit program folder.
  const int programFiles = System().Is64BitProcess() ? kCsidlProgramFilesX86 : kCsidlProgramFiles;
  if (System().GetSpecialFolderPath(programFiles, folder) &&
      exists(folder + std::u16string(kProductFolder) + file))
    return found;
  folder.clear();
  if (System().GetCurrentDirectory(folder) && exists(folder + file)) return found;
  return {};
}

std::u16string FolderOfPath(std::u16string_view path) {
  const std::size_t last = path.rfind(u'\\');
  return last == std::u16string_view::npos ? std::u16string()
                                           : std::u16string(path.substr(0, last + 1));
}

void RunMainProgram() {
  const std::u16string path = FindMainProgram();
  if (path.empty() || !FileExists(path)) {
    ShowError(kMainFileMissingMessage);
    return;
  }

  std::u16string folder = ReadValue(kSettingsKey, kAppPathValue, true);
  if (folder.empty()) folder = ReadValue(kScreensaverUninstallKey, kInstallLocationValue, true);
  if (folder.empty()) folder = FolderOfPath(path);

  ProcessHandles started;
  if (!Processes().CreateProcess(u"\"" + path + u"\"", folder, started)) {
    ShowError(kStartFailedMessage);
    return;
  }
  Processes().WaitForSingleObject(started.process, kInfinite);
  Processes().CloseHandle(started.thread);
  Processes().CloseHandle(started.process);
}

}  // namespace glimmer
