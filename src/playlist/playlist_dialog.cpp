#include "playlist/playlist_dialog.h"

#include "dialog/error_box.h"
#include "elevation/elevated_save.h"
#include "i18n/language.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "playlist/file_dialog.h"
#include "playlist/playlist_text.h"
#include "resource_ids.h"

namespace glimmer {

static_assert(kPlaylistColumnHeader.size() == 8 + 98);

std::u16string PlaylistKeyFor(std::u16string_view productName) {
  std::u16string key = FolderOfPath(kSettingsKey);
  key += productName;
  return key;
}

CPlaylistDlg::CPlaylistDlg(Node& settings, std::u16string_view productName,
                           PlaylistControls& controls, const PlaylistPorts& ports,
                           TextCatalog& catalog)
    : settings_(settings),
      productName_(productName),
      controls_(controls),
      ports_(ports),
      catalog_(catalog) {}

bool CPlaylistDlg::ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result) {
  result = 0;
  switch (message.message) {
    case kWmInitDialog:
      Initialise();
      result = 1;  // let the dialog manager set the focus
      return true;
    case kWmClose:
      Cancel();
      return true;
    case kWmCommand:
      break;
    default:
      return false;
  }
  if (message.NotificationCode() != kBnClicked) return false;
  switch (message.CommandId()) {
    case IDC_PLAYLIST_ADD:
      Add();
      return true;
    case IDC_PLAYLIST_REMOVE:
      Remove();
      return true;
    case kIdCancel:
      Cancel();
      return true;
    case kIdOk:
      Ok();
      return true;
    case IDC_SHUFFLE:
      Shuffle();
      return true;
    default:
      return false;
  }
}

void CPlaylistDlg::Initialise() {
  const int width = controls_.GetStringWidth(kPlaylistColumnHeader) + kPlaylistColumnPadding;
  controls_.InsertColumn(0, kPlaylistColumnHeader, width);

  std::u16string saved;
  ReadRegistryString(ports_.registry, ports_.system, kHkeyLocalMachine,
                     PlaylistKeyFor(productName_), kPlayListValue, saved, true);
  ParsePlaylistText(u"", saved);
  for (std::size_t i = 0; i < PlaylistEntries.size(); ++i)
    controls_.InsertItem(static_cast<int>(i), PlaylistEntries[i]);

  catalog_.SelectTextBlock(kDialogTextBlock);
  catalog_.TranslateWindow(ports_.windows, controls_.Dialog());
  controls_.SetCheck(settings_[keys::kShufflePlayList].AsInt());
  if (!SettingsKeyWritable(ports_.registry, ports_.system)) controls_.SetOkShield(true);
}

void CPlaylistDlg::Add() {
  std::u16string buffer(kOpenFileBufferLength, u'\0');
  if (!controls_.GetOpenFileName(JoinFilterList(BuildFilterList(catalog_)), kAddFilesFlags,
                                 buffer)) {
    // Fetched so the failure is consumed; a cancel and a failure look alike here.
    controls_.CommDlgExtendedError();
    return;
  }
  for (const std::u16string& path : ParseOpenFileResult(buffer)) AddPlaylistFile(path);
}

void CPlaylistDlg::Remove() {
  if (controls_.GetSelectedCount() <= 0) return;
  // Deleting moves the following items up, so the same index is looked at again.
  for (int index = 0; index < controls_.GetItemCount();) {
    std::uint32_t state = 0;
    const bool selected =
        controls_.GetItemState(index, kLvisSelected, state) && (state & kLvisSelected) != 0;
    if (!selected || !controls_.DeleteItem(index)) {
      ++index;
      continue;
    }
    if (static_cast<std::size_t>(index) < PlaylistEntries.size())
      PlaylistEntries.erase(PlaylistEntries.begin() + index);
  }
}

void CPlaylistDlg::Shuffle() {
  settings_[keys::kShufflePlayList] = static_cast<std::int32_t>(controls_.GetCheck() != 0 ? 1 : 0);
}

void CPlaylistDlg::Ok() {
  const std::u16string list = JoinPlaylist(PlaylistEntries);
  long failure = kErrorSuccess;
  bool written = WriteRegistryString(ports_.registry, ports_.system, kHkeyLocalMachine,
                                     PlaylistKeyFor(productName_), kPlayListValue, list, true,
                                     &failure) == kSOk;
  // A standard user may not write the machine-wide settings key: the shell's
  // elevated instance does, after one UAC prompt.
  if (!written && failure == kErrorAccessDenied)
    written = SaveElevated(PlaylistRequestFor(list), {ports_.elevation, ports_.processes},
                           controls_.Dialog());
  // Without write access to HKEY_LOCAL_MACHINE the old list would stay in
  // silence; the user is told, as the settings dialog tells of its own save.
  if (!written) ShowRegistryWriteError(ports_.ui, catalog_, controls_.Dialog());
  controls_.EndDialog(kIdOk);
}

void CPlaylistDlg::Cancel() { controls_.EndDialog(kIdCancel); }

bool CPlaylistDlg::ParsePlaylistText(std::u16string_view base, std::u16string_view text) {
  return glimmer::ParsePlaylistText(ports_.system, base, text, PlaylistEntries);
}

void CPlaylistDlg::LoadPlaylistFile(std::u16string_view path) {
  glimmer::LoadPlaylistFile(ports_.system, ports_.files, path, PlaylistEntries);
}

void CPlaylistDlg::AddPlaylistFile(std::u16string_view path) {
  if (!IsM3uName(path)) {
    AppendItem(std::u16string(path));
    return;
  }
  std::vector<std::u16string> loaded;
  glimmer::LoadPlaylistFile(ports_.system, ports_.files, path, loaded);
  for (const std::u16string& entry : loaded) AppendItem(entry);
}

void CPlaylistDlg::AppendItem(const std::u16string& path) {
  controls_.InsertItem(controls_.GetItemCount(), path);
  PlaylistEntries.push_back(path);
}

}  // namespace glimmer
