#include "app/run_mode.h"

#include <vector>

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
  std::vector<std::u16string> candidates;
  // A stored AppPath is trusted alone: the installers' keys are not consulted
  // even when it has gone stale.
  const std::u16string appPath = ReadValue(kSettingsKey, kAppPathValue, true);
  if (!appPath.empty()) {
    candidates.push_back(appPath + std::u16string(kMainProgramFile));
  } else {
    for (auto key : {kScreensaverUninstallKey, kCombinedUninstallKey}) {
      const std::u16string location = ReadValue(key, kInstallLocationValue, false);
      if (!location.empty()) candidates.push_back(location + std::u16string(kMainProgramFile));
    }
  }
  std::u16string folder;
  // A 32-bit installer puts the product in the 32-bit program folder.
  const int programFiles = System().Is64BitProcess() ? kCsidlProgramFilesX86 : kCsidlProgramFiles;
  if (System().GetSpecialFolderPath(programFiles, folder))
    candidates.push_back(folder + std::u16string(kProductFolder) +
                         std::u16string(kMainProgramFile));
  folder.clear();
  if (System().GetCurrentDirectory(folder))
    candidates.push_back(folder + std::u16string(kMainProgramFile));

  for (const auto& candidate : candidates)
    if (FileExists(candidate)) return candidate;
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
