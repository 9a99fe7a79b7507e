// The playlist editor's window: template 162 run modally, its list view,
// "Shuffle" box and the file-open dialog behind the core's controls port.
#pragma once

// <commdlg.h> first: the port's GetOpenFileName must not be renamed by its macro.
#include "win32/windows_api.h"
// clang-format off
#include <commdlg.h>
// clang-format on

#include <string_view>

#include "config/node.h"
#include "i18n/text_catalog.h"
#include "playlist/playlist_controls.h"
#include "playlist/playlist_dialog.h"

namespace glimmer::win32 {

// Runs the playlist editor modally from template 162, owned by the active
// window, on the settings dialog's tree ("ShufflePlayList" is read and written
// there) and in its language.
void RunPlaylistEditor(HINSTANCE instance, Node& settings, TextCatalog& catalog,
                       const PlaylistPorts& ports);

// The controls of a dialog made from template 162.
class Win32PlaylistControls final : public PlaylistControls {
 public:
  explicit Win32PlaylistControls(HWND dialog);

  WindowHandle Dialog() override;
  int GetStringWidth(std::u16string_view text) override;
  int InsertColumn(int index, std::u16string_view text, int width) override;
  int InsertItem(int index, std::u16string_view text) override;
  int GetSelectedCount() override;
  int GetItemCount() override;
  bool GetItemState(int index, std::uint32_t mask, std::uint32_t& state) override;
  bool DeleteItem(int index) override;
  int GetCheck() override;
  void SetCheck(int state) override;
  void SetOkShield(bool shield) override;
  bool GetOpenFileName(std::u16string_view filter, std::uint32_t flags,
                       std::u16string& buffer) override;
  std::uint32_t CommDlgExtendedError() override;
  void EndDialog(int result) override;

 private:
  HWND dialog_;
  HWND list_;
  HWND shuffle_;
};

}  // namespace glimmer::win32
