#include "settings/settings_dialog.h"

#include "dialog/wait_cursor.h"
#include "i18n/format.h"
#include "platform/product.h"
#include "resource_ids.h"
#include "settings/antialiasing_controls.h"
#include "settings/monitor_controls.h"
#include "settings/settings_table.h"

namespace glimmer {
namespace {

constexpr std::u16string_view kMusicVolumeFormat = u"Music volume: %.01i%%";
constexpr std::u16string_view kSoundsVolumeFormat = u"Sounds volume: %.01i%%";
constexpr std::u16string_view kTitleFormat = u"%s %s Configuration";

int Flag(bool value) { return value ? 1 : 0; }

}  // namespace

std::int32_t CSettingsDlg::Setting(std::u16string_view key) { return settings_[key].AsInt(); }

bool CSettingsDlg::ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result) {
  result = 0;
  if (RouteOwnFirst(message)) return true;
  if (CSettingsDlgBase::ProcessWindowMessage(message, result)) return true;
  result = 0;
  return RouteOwnAfter(message);
}

bool CSettingsDlg::RouteOwnFirst(const DialogMessage& message) {
  if (message.message == kWmHScroll) {
    // Handled whatever its source; only the two volume track bars act on it.
    OnTrackBarScrolled(host_.ControlIdOf(static_cast<WindowHandle>(message.lParam)));
    return true;
  }
  if (message.message != kWmCommand || message.NotificationCode() != kBnClicked) return false;
  DialogControls& controls = Controls();
  switch (message.CommandId()) {
    case IDC_ENABLE_MUSIC:
      EnableMusicControls(controls.GetCheck(IDC_ENABLE_MUSIC) != 0);
      NotifyWallpaper(LiveChange::MusicEnabled);
      return true;
    case IDC_ENABLE_SOUNDS: {
      const bool enabled = controls.GetCheck(IDC_ENABLE_SOUNDS) != 0;
      controls.Enable(IDC_SOUNDS_VOLUME, enabled);
      controls.Enable(IDC_SOUNDS_VOLUME_LABEL, enabled);
      NotifyWallpaper(LiveChange::SoundsEnabled);
      return true;
    }
    case IDC_ANTIALIASING: {
      const bool enabled = controls.GetCheck(IDC_ANTIALIASING) != 0;
      controls.Enable(IDC_ANTIALIASING_LIST, enabled);
      controls.Enable(IDC_ANTIALIASING_LABEL, enabled);
      NotifyWallpaper(LiveChange::Antialiasing);
      return true;
    }
    default:
      return false;
  }
}

bool CSettingsDlg::RouteOwnAfter(const DialogMessage& message) {
  if (message.message != kWmCommand || message.NotificationCode() != kBnClicked) return false;
  DialogControls& controls = Controls();
  switch (message.CommandId()) {
    case IDC_EDIT_PLAYLIST:
      host_.RunPlaylistEditor(settings_, catalog_);
      return true;
    case IDC_PLAY_MY_MUSIC:
      controls.Enable(IDC_EDIT_PLAYLIST, controls.GetCheck(IDC_PLAY_MY_MUSIC) != 0);
      return true;
    case IDC_RUN_AT_STARTUP:
      return true;  // taken on OK
    case IDC_RESTORE_DEFAULTS: {
      const WaitCursor wait(platform_.ui);
      const Direct3D9Hold direct3d(platform_.direct3d9);
      SetDefaults();
      LoadControls();
      NotifyAll();
      return true;
    }
    case IDC_HIGH_QUALITY_GRAPHICS:
      NotifyWallpaper(LiveChange::HighQualityGraphics);
      return true;
    case IDC_HIGH_QUALITY_TEXTURES:
      NotifyWallpaper(LiveChange::HighQualityTextures);
      return true;
    default:
      return false;
  }
}

void CSettingsDlg::OnTrackBarScrolled(ControlId trackBar) {
  DialogControls& controls = Controls();
  if (trackBar == IDC_MUSIC_VOLUME) {
    ShowVolumeLabel(IDC_MUSIC_VOLUME_LABEL, kMusicVolumeFormat,
                    controls.GetTrackBarPos(IDC_MUSIC_VOLUME));
    NotifyWallpaper(LiveChange::MusicVolume);
  } else if (trackBar == IDC_SOUNDS_VOLUME) {
    ShowVolumeLabel(IDC_SOUNDS_VOLUME_LABEL, kSoundsVolumeFormat,
                    controls.GetTrackBarPos(IDC_SOUNDS_VOLUME));
    NotifyWallpaper(LiveChange::SoundsVolume);
  }
}

void CSettingsDlg::EnableMusicControls(bool musicEnabled) {
  DialogControls& controls = Controls();
  controls.Enable(IDC_MUSIC_VOLUME, musicEnabled);
  controls.Enable(IDC_MUSIC_VOLUME_LABEL, musicEnabled);
  controls.Enable(IDC_PLAY_MY_MUSIC, musicEnabled);
  controls.Enable(IDC_EDIT_PLAYLIST, musicEnabled && controls.GetCheck(IDC_PLAY_MY_MUSIC) != 0);
}

void CSettingsDlg::ShowVolumeLabel(ControlId label, std::u16string_view format,
                                   std::int32_t volume) {
  // A translation whose placeholders differ from the key's is not used.
  Controls().SetText(label, FormatTranslated(catalog_, format, {volume}));
}

std::intptr_t CSettingsDlg::OnInitDialog() {
  // The hardware is measured for about a second before the dialog shows.
  const WaitCursor wait(platform_.ui);
  const Direct3D9Hold direct3d(platform_.direct3d9);
  CSettingsDlgBase::OnInitDialog();
  display_.EnumerateDisplayAdapters(
      settings_, [this](const D3dCaps& caps, std::uint32_t vertexProcessing, std::int32_t format) {
        return AcceptDevice(caps, vertexProcessing, format);
      });
  LoadSettings();
  LoadControls();
  ShieldOkUnlessWritable();
  host_.SetTitle(FormatTranslated(catalog_, kTitleFormat, {kProductName, kProductVersion}));
  host_.Show();
  host_.SetBigIcon();
  return 1;
}

void CSettingsDlg::SetDefaults() { SetDefaultSettings(settings_, Hardware()); }

void CSettingsDlg::LoadControls() {
  using namespace keys;
  DialogControls& controls = Controls();
  controls.SetCheck(IDC_EXIT_ON_MOUSE_MOVE, Flag(Setting(kDisableOnMouseActivate) == 0));
  controls.SetCheck(IDC_HIGH_QUALITY_TEXTURES, Setting(kHighQualityTextures));
  controls.SetCheck(IDC_RUN_AT_STARTUP, Flag(RunsAtStartup(platform_.registry, platform_.system)));

  const bool musicEnabled = Setting(kDisableMusic) == 0;
  const bool usePlaylist = Setting(kUsePlaylist) != 0;
  controls.SetCheck(IDC_ENABLE_MUSIC, Flag(musicEnabled));
  controls.SetCheck(IDC_PLAY_MY_MUSIC, Flag(usePlaylist));
  controls.SetTrackBarRange(IDC_MUSIC_VOLUME, 0, kMostVolume);
  controls.SetTrackBarPos(IDC_MUSIC_VOLUME, Setting(kMusicVolumePercentage));
  ShowVolumeLabel(IDC_MUSIC_VOLUME_LABEL, kMusicVolumeFormat, Setting(kMusicVolumePercentage));
  controls.Enable(IDC_MUSIC_VOLUME, musicEnabled);
  controls.Enable(IDC_MUSIC_VOLUME_LABEL, musicEnabled);
  controls.Enable(IDC_PLAY_MY_MUSIC, musicEnabled);
  controls.Enable(IDC_EDIT_PLAYLIST, musicEnabled && usePlaylist);

  const bool soundsEnabled = Setting(kDisableSound) == 0;
  controls.SetCheck(IDC_ENABLE_SOUNDS, Flag(soundsEnabled));
  controls.SetTrackBarRange(IDC_SOUNDS_VOLUME, 0, kMostVolume);
  controls.SetTrackBarPos(IDC_SOUNDS_VOLUME, Setting(kSoundsVolumePercentage));
  ShowVolumeLabel(IDC_SOUNDS_VOLUME_LABEL, kSoundsVolumeFormat, Setting(kSoundsVolumePercentage));
  controls.Enable(IDC_SOUNDS_VOLUME, soundsEnabled);
  controls.Enable(IDC_SOUNDS_VOLUME_LABEL, soundsEnabled);

  controls.SetCheck(IDC_HIGH_QUALITY_GRAPHICS, Setting(kHighQualityGraphics));
  const bool antialiasing = Setting(kAntialiasing) != 0;
  controls.SetCheck(IDC_ANTIALIASING, Flag(antialiasing));
  FillAntialiasingList(settings_, controls, platform_.direct3d11);
  controls.Enable(IDC_ANTIALIASING_LABEL, antialiasing);
  controls.Enable(IDC_ANTIALIASING_LIST, antialiasing);

  FillMonitorList(display_, settings_, controls, catalog_);
  FillModeList(display_, settings_, controls);
}

void CSettingsDlg::ApplyControls() {
  using namespace keys;
  DialogControls& controls = Controls();
  auto checked = [&controls](ControlId id) { return controls.GetCheck(id) == 1; };
  settings_[kHighQualityGraphics] = Flag(checked(IDC_HIGH_QUALITY_GRAPHICS));
  settings_[kHighQualityTextures] = Flag(checked(IDC_HIGH_QUALITY_TEXTURES));
  settings_[kAntialiasing] = AntialiasingToSave(settings_, controls);
  settings_[kUsePlaylist] = Flag(checked(IDC_PLAY_MY_MUSIC));
  settings_[kMusicVolumePercentage] = controls.GetTrackBarPos(IDC_MUSIC_VOLUME);
  settings_[kDisableOnMouseActivate] = Flag(!checked(IDC_EXIT_ON_MOUSE_MOVE));
  settings_[kDisableMusic] = Flag(!checked(IDC_ENABLE_MUSIC));
  settings_[kSoundsVolumePercentage] = controls.GetTrackBarPos(IDC_SOUNDS_VOLUME);
  settings_[kDisableSound] = Flag(!checked(IDC_ENABLE_SOUNDS));
  WriteStartupEntry(platform_.registry, platform_.system, checked(IDC_RUN_AT_STARTUP));
}

void CSettingsDlg::RevertControls() {
  LoadControls();
  NotifyAll();
}

void CSettingsDlg::NotifyWallpaper(LiveChange code) {
  DialogControls& controls = Controls();
  std::int32_t value = 0;
  switch (code) {
    case LiveChange::HighQualityGraphics:
      value = controls.GetCheck(IDC_HIGH_QUALITY_GRAPHICS);
      break;
    case LiveChange::MusicVolume:
      value = controls.GetTrackBarPos(IDC_MUSIC_VOLUME);
      break;
    case LiveChange::MusicEnabled:
      value = Flag(controls.GetCheck(IDC_ENABLE_MUSIC) != 0);
      break;
    case LiveChange::SoundsVolume:
      value = controls.GetTrackBarPos(IDC_SOUNDS_VOLUME);
      break;
    case LiveChange::SoundsEnabled:
      value = Flag(controls.GetCheck(IDC_ENABLE_SOUNDS) != 0);
      break;
    case LiveChange::HighQualityTextures:
      value = controls.GetCheck(IDC_HIGH_QUALITY_TEXTURES);
      break;
    case LiveChange::Antialiasing:
      // With nothing selected the list answers its error value, and that is
      // what a wallpaper has always been sent.
      if (controls.GetCheck(IDC_ANTIALIASING) != 0)
        value = static_cast<std::int32_t>(controls.ComboGetItemData(
            IDC_ANTIALIASING_LIST, controls.ComboGetCurSel(IDC_ANTIALIASING_LIST)));
      break;
  }
  wallpaper_.Post(static_cast<std::uint32_t>(code), value);
}

void CSettingsDlg::NotifyAll() {
  for (LiveChange code :
       {LiveChange::Antialiasing, LiveChange::MusicVolume, LiveChange::MusicEnabled,
        LiveChange::SoundsVolume, LiveChange::SoundsEnabled, LiveChange::HighQualityGraphics,
        LiveChange::HighQualityTextures})
    NotifyWallpaper(code);
}

}  // namespace glimmer
