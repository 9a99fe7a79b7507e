#include "settings/settings_table.h"

#include "display/video_memory.h"
#include "i18n/text_catalog.h"
#include "platform/product.h"
#include "platform/registry.h"

namespace glimmer {
namespace {

inline constexpr std::u16string_view kInstallerKey =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Glimmerdale 3D Screensaver_is1";
inline constexpr std::u16string_view kMainProgramFile = u"\\Glimmerdale 3D Screensaver.exe";

std::u16string ReadString(RegKey root, std::u16string_view key, std::u16string_view value) {
  std::u16string text;
  ReadRegistryString(root, key, value, text, /*prefer64BitView=*/true);
  return text;
}

}  // namespace

void SetDefaultSettings(Node& settings) {
  // Measured first: the rule needs all three readings.
  const QualityDefaults quality = MeasureQualityDefaults();
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

void LoadSavedSettings(Node& settings) {
  settings.LoadFromRegistry(kHkeyLocalMachine, kSettingsKey);
}

void SaveSettings(const Node& settings, WindowHandle owner) {
  if (settings.SaveToRegistry(kHkeyLocalMachine, kSettingsKey)) return;
  Ui().MessageBox(owner, Translate(kRegistryWriteErrorMessage), Translate(kErrorCaptionText),
                  kMbOk | kMbIconError);
}

std::u16string InstallFolder() {
  std::u16string folder = ReadString(kHkeyLocalMachine, kSettingsKey, u"AppPath");
  if (folder.empty()) folder = ReadString(kHkeyLocalMachine, kInstallerKey, u"InstallLocation");
  return folder;
}

std::u16string StartupCommand() {
  const std::u16string folder = InstallFolder();
  if (folder.empty()) return {};
  return u"\"" + folder + std::u16string(kMainProgramFile) + u"\" /w";
}

bool RunsAtStartup() {
  const std::u16string command = StartupCommand();
  return !command.empty() && ReadString(kHkeyCurrentUser, kRunKey, kRunValue) == command;
}

void WriteStartupEntry(bool checked) {
  WriteRegistryString(kHkeyCurrentUser, kRunKey, kRunValue, checked ? StartupCommand() : u"",
                      /*prefer64BitView=*/true);
}

}  // namespace glimmer
