// The playlist editor (template 162): shows the saved playlist, adds chosen
// files (expanding M3U playlists), removes selected entries, toggles random
// order in the settings tree, and saves the list as "PlayList" on OK.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/node.h"
#include "dialog/dialog_message.h"
#include "i18n/text_catalog.h"
#include "platform/elevation_port.h"
#include "platform/file_port.h"
#include "platform/ports.h"
#include "platform/registry_port.h"
#include "playlist/playlist_controls.h"

namespace glimmer {

// The column is never seen (the list has no header); the blanks only make it
// wide enough for long paths.
inline constexpr std::u16string_view kPlaylistColumnHeader =
    u"FileName"
    u"                                                  "  // 50 blanks
    u"                                                ";   // 48 blanks
inline constexpr int kPlaylistColumnPadding = 15;

// The key below HKEY_LOCAL_MACHINE that holds the playlist: the settings key
// with productName as its last component.
std::u16string PlaylistKeyFor(std::u16string_view productName);

// What the editor reaches beyond its own window: the saved list, the files it
// names and adds, the texts of its window, the error box, and the elevated
// instance that saves for a standard user.
struct PlaylistPorts {
  RegistryPort& registry;
  SystemPort& system;
  FilePort& files;
  WindowPort& windows;
  UiPort& ui;
  ElevationPort& elevation;
  ProcessPort& processes;
};

class CPlaylistDlg {
 public:
  // catalog: the settings dialog's, whose language the editor speaks.
  CPlaylistDlg(Node& settings, std::u16string_view productName, PlaylistControls& controls,
               const PlaylistPorts& ports, TextCatalog& catalog);
  CPlaylistDlg(const CPlaylistDlg&) = delete;
  CPlaylistDlg& operator=(const CPlaylistDlg&) = delete;

  // The message map: true when handled, with the message's result; anything
  // else gets the dialog's default processing.
  bool ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result);

  // WM_INITDIALOG: the column, the saved list, the texts, the "Shuffle" box.
  void Initialise();
  // "Add...": the file-open dialog, then AddPlaylistFile for each chosen file.
  void Add();
  // "Remove": every selected item, the others keeping their order.
  void Remove();
  // "Shuffle": the box's state goes into the settings tree at once.
  void Shuffle();
  // OK: saves the list and ends the dialog; a failed save is shown first.
  void Ok();
  // Cancel and closing: ends the dialog, saving nothing.
  void Cancel();

  bool ParsePlaylistText(std::u16string_view base, std::u16string_view text);
  void LoadPlaylistFile(std::u16string_view path);
  // One chosen file: an M3U playlist adds its entries, anything else itself.
  void AddPlaylistFile(std::u16string_view path);

  // One full path per entry, always in the list view's order.
  std::vector<std::u16string> PlaylistEntries;

 private:
  void AppendItem(const std::u16string& path);

  Node& settings_;
  std::u16string productName_;
  PlaylistControls& controls_;
  PlaylistPorts ports_;
  TextCatalog& catalog_;
};

}  // namespace glimmer
