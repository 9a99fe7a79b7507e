// The product's settings dialog (template 2003): the hooks that tie its
// controls to the settings tree, the live notifications to a running
// wallpaper, and its own commands.
#pragma once

#include <cstdint>

#include "settings/dialog_frame.h"

namespace glimmer {

// Codes of the live changes posted to a running wallpaper.
enum class LiveChange : std::uint32_t {
  HighQualityGraphics = 0,
  MusicVolume = 1,
  MusicEnabled = 2,
  SoundsVolume = 3,
  SoundsEnabled = 4,
  HighQualityTextures = 5,
  Antialiasing = 6,
};

class CSettingsDlg : public CSettingsDlgBase {
 public:
  CSettingsDlg(DialogHost& host, const Platform& platform) : CSettingsDlgBase(host, platform) {}

  bool ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result) override;
  void ApplyControls() override;
  void SetDefaults() override;
  std::intptr_t OnInitDialog() override;
  void RevertControls() override;

  // Shows the settings tree in the controls.
  void LoadControls();
  // Reads code's value from the controls and posts it.
  void NotifyWallpaper(LiveChange code);
  // Codes 6, 1, 2, 3, 4, 0, 5: everything a wallpaper follows.
  void NotifyAll();

 private:
  bool RouteOwnFirst(const DialogMessage& message);
  bool RouteOwnAfter(const DialogMessage& message);
  void OnTrackBarScrolled(ControlId trackBar);
  void EnableMusicControls(bool musicEnabled);
  void ShowVolumeLabel(ControlId label, std::u16string_view format, std::int32_t volume);
  std::int32_t Setting(std::u16string_view key);
};

}  // namespace glimmer
