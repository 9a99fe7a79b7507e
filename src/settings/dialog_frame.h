// The part of a settings dialog that does not depend on the product's
// controls: it owns the settings tree, the display inventory, the channel to
// a running wallpaper and the text catalogue, sets up the dialog's language,
// routes the common messages and commands, and calls the product's dialog
// back through virtual hooks (declared in the order products rely on).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "config/node.h"
#include "dialog/dialog_controls.h"
#include "dialog/dialog_message.h"
#include "display/display_inventory.h"
#include "display/video_memory.h"
#include "i18n/text_catalog.h"
#include "platform/platform.h"
#include "settings/wallpaper.h"

namespace glimmer {

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
  // The playlist editor, modal, on the dialog's settings tree, speaking the
  // dialog's language.
  virtual void RunPlaylistEditor(Node& settings, TextCatalog& catalog) = 0;
};

class CSettingsDlgBase {
 public:
  CSettingsDlgBase(DialogHost& host, const Platform& platform);
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
  // The catalogue the dialog speaks from, loaded when it opened.
  const TextCatalog& Catalog() const { return catalog_; }

 protected:
  // Writes the tree to the settings key, through the elevated instance when
  // this process may not, with the error box on failure.
  void SaveSettings();
  // The UAC shield on OK when this process may not write the settings key.
  void ShieldOkUnlessWritable();
  // The adapter query, the defaults, then the saved settings over them.
  void LoadSettings();
  // The maker's page in the dialog's language.
  void OpenMakerPage();
  // The ports the hardware measurements read.
  HardwarePorts Hardware() const;

  DialogHost& host_;
  const Platform& platform_;
  DialogControls& Controls() { return host_.Controls(); }
  Node settings_;
  DisplayInventory display_;
  WallpaperChannel wallpaper_;
  TextCatalog catalog_;
};

// The maker's web page for a language tag: "de", "fr" and "ru" have their
// own, everything else the default page.
std::u16string MakerPageAddress(std::u16string_view languageTag);

}  // namespace glimmer
