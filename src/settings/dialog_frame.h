// The part of a settings dialog that does not depend on the product's
// controls: it owns the settings tree, the display inventory and the channel
// to a running wallpaper, sets up the dialog's language, routes the common
// messages and commands, and calls the product's dialog back through virtual
// hooks (declared in the order products rely on).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "app/wallpaper.h"
#include "config/node.h"
#include "display/display_inventory.h"
#include "platform/ports.h"
#include "settings/dialog_controls.h"

namespace glimmer {

// Window messages and notification codes the dialogs route.
inline constexpr std::uint32_t kWmDestroy = 0x0002;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t kWmInitDialog = 0x0110;
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmHScroll = 0x0114;
inline constexpr std::uint32_t kBnClicked = 0;
inline constexpr std::uint32_t kCbnSelEndOk = 9;
inline constexpr ControlId kIdOk = 1;
inline constexpr ControlId kIdCancel = 2;

struct DialogMessage {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;

  // WM_COMMAND: the control id in the low word, the notification in the high word.
  ControlId CommandId() const { return static_cast<ControlId>(wParam & 0xFFFF); }
  std::uint32_t NotificationCode() const {
    return static_cast<std::uint32_t>((wParam >> 16) & 0xFFFF);
  }
  static DialogMessage Command(ControlId id, std::uint32_t code) {
    return {kWmCommand, (static_cast<std::uintptr_t>(code) << 16) | static_cast<std::uint16_t>(id),
            0};
  }
};

// What a settings dialog needs of its window beyond its controls.
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual WindowHandle Window() = 0;
  virtual DialogControls& Controls() = 0;
  // GetDlgCtrlID of a control's window handle (a scroll message names its source so).
  virtual ControlId ControlIdOf(WindowHandle control) = 0;
  virtual void EndDialog(std::intptr_t result) = 0;
  // WM_SETTEXT on the dialog.
  virtual void SetTitle(std::u16string_view title) = 0;
  // ShowWindow(SW_SHOWNORMAL).
  virtual void Show() = 0;
  // LoadIconW of the product's icon, set as the big icon and kept.
  virtual void SetBigIcon() = 0;
  // DestroyIcon of the kept icon, if any.
  virtual void DestroyBigIcon() = 0;
  virtual void PostQuitMessage(int code) = 0;
  // ShellExecuteW(no owner, default verb, url, no parameters or folder, SW_SHOWNORMAL).
  virtual void OpenWebPage(std::u16string_view url) = 0;
  // The playlist editor, modal, on the dialog's settings tree.
  virtual void RunPlaylistEditor(Node& settings) = 0;
};

class CSettingsDlgBase {
 public:
  explicit CSettingsDlgBase(DialogHost& host) : host_(host) {}
  CSettingsDlgBase(const CSettingsDlgBase&) = delete;
  CSettingsDlgBase& operator=(const CSettingsDlgBase&) = delete;

  // The message map: true when handled, with the message's result.
  virtual bool ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result);
  virtual ~CSettingsDlgBase() = default;
  // The dialog procedure: the message map's answer, or 0 for default processing.
  virtual std::intptr_t DialogProc(const DialogMessage& message);
  virtual void OnFinalMessage() {}
  virtual void ApplyControls() = 0;
  virtual HResult AcceptDevice(const D3dCaps& caps, std::uint32_t vertexProcessing,
                               std::int32_t format);
  virtual void SetDefaults() {}
  virtual std::intptr_t OnInitDialog();
  virtual void RevertControls() = 0;

  // The ended dialog's settings, for whoever wants to look.
  Node& Settings() { return settings_; }

 protected:
  // Writes the tree to the settings key, with the error box on failure.
  void SaveSettings();
  // The adapter query, the defaults, then the saved settings over them.
  void LoadSettings();
  // The maker's page in the dialog's language.
  void OpenMakerPage();

  DialogHost& host_;
  DialogControls& Controls() { return host_.Controls(); }
  Node settings_;
  DisplayInventory display_;
  WallpaperChannel wallpaper_;
};

// The maker's web page for a language tag: "de", "fr" and "ru" have their
// own, everything else the default page.
std::u16string MakerPageAddress(std::u16string_view languageTag);

}  // namespace glimmer
