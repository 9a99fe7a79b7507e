#include "win32/playlist_dialog_win32.h"

#include <cderr.h>
#include <commctrl.h>

#include <optional>

#include "platform/product.h"
#include "playlist/file_dialog.h"
#include "resource_ids.h"
#include "win32/dialog_window.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"

namespace glimmer::win32 {
namespace {

static_assert(kLvisFocused == LVIS_FOCUSED && kLvisSelected == LVIS_SELECTED);
static_assert(kOfnAllowMultiSelect == OFN_ALLOWMULTISELECT &&
              kOfnPathMustExist == OFN_PATHMUSTEXIST && kOfnFileMustExist == OFN_FILEMUSTEXIST &&
              kOfnExplorer == OFN_EXPLORER);
static_assert(kFnErrBufferTooSmall == FNERR_BUFFERTOOSMALL);

// The editor's state for one run; lives on RunPlaylistEditor's stack. Its
// controls and dialog object are made when the window exists.
struct EditorWindow {
  void Attach(HWND window) {
    controls.emplace(window);
    dialog.emplace(settings, kProductName, *controls, ports, catalog);
  }
  bool ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result) {
    return dialog && dialog->ProcessWindowMessage(message, result);
  }
  void OnFinalMessage() {}

  Node& settings;
  TextCatalog& catalog;
  PlaylistPorts ports;
  std::optional<Win32PlaylistControls> controls;
  std::optional<CPlaylistDlg> dialog;
};

}  // namespace

void RunPlaylistEditor(HINSTANCE instance, Node& settings, TextCatalog& catalog,
                       const PlaylistPorts& ports) {
  // The list view's class, whichever comctl32 the process is bound to.
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
  constexpr LazyEntry<decltype(&::InitCommonControlsEx)> initControls{SystemDll::ComCtl32,
                                                                      "InitCommonControlsEx"};
  initControls.CallOr(FALSE, &classes);
  EditorWindow editor{settings, catalog, ports, std::nullopt, std::nullopt};
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PLAYLIST), GetActiveWindow(),
                  DialogProcOf<EditorWindow>, reinterpret_cast<LPARAM>(&editor));
}

Win32PlaylistControls::Win32PlaylistControls(HWND dialog)
    : dialog_(dialog),
      list_(GetDlgItem(dialog, IDC_PLAYLIST_LIST)),
      shuffle_(GetDlgItem(dialog, IDC_SHUFFLE)) {}

WindowHandle Win32PlaylistControls::Dialog() { return reinterpret_cast<WindowHandle>(dialog_); }

int Win32PlaylistControls::GetStringWidth(std::u16string_view text) {
  const std::wstring wide = Wide(text);
  return static_cast<int>(
      SendMessageW(list_, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(wide.c_str())));
}

int Win32PlaylistControls::InsertColumn(int index, std::u16string_view text, int width) {
  std::wstring wide = Wide(text);
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = LVCFMT_LEFT;
  column.cx = width;
  column.pszText = wide.data();
  return static_cast<int>(
      SendMessageW(list_, LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&column)));
}

int Win32PlaylistControls::InsertItem(int index, std::u16string_view text) {
  std::wstring wide = Wide(text);
  LVITEMW item{};
  item.mask = LVIF_TEXT;
  item.iItem = index;
  item.pszText = wide.data();
  return static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

int Win32PlaylistControls::GetSelectedCount() {
  return static_cast<int>(SendMessageW(list_, LVM_GETSELECTEDCOUNT, 0, 0));
}

int Win32PlaylistControls::GetItemCount() {
  return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

bool Win32PlaylistControls::GetItemState(int index, std::uint32_t mask, std::uint32_t& state) {
  LVITEMW item{};
  item.mask = LVIF_STATE;
  item.iItem = index;
  item.stateMask = mask;
  if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return false;
  state = item.state & mask;
  return true;
}

bool Win32PlaylistControls::DeleteItem(int index) {
  return SendMessageW(list_, LVM_DELETEITEM, index, 0) != FALSE;
}

int Win32PlaylistControls::GetCheck() {
  return static_cast<int>(SendMessageW(shuffle_, BM_GETCHECK, 0, 0));
}

void Win32PlaylistControls::SetCheck(int state) { SendMessageW(shuffle_, BM_SETCHECK, state, 0); }

void Win32PlaylistControls::SetOkShield(bool shield) {
  SendDlgItemMessageW(dialog_, IDOK, BCM_SETSHIELD, 0, shield ? TRUE : FALSE);
}

bool Win32PlaylistControls::GetOpenFileName(std::u16string_view filter, std::uint32_t flags,
                                            std::u16string& buffer) {
  const std::wstring filters = Wide(filter);
  OPENFILENAMEW open{};
  open.lStructSize = sizeof(open);
  open.hwndOwner = dialog_;
  open.lpstrFilter = filters.c_str();
  open.nFilterIndex = 1;
  open.lpstrFile = reinterpret_cast<wchar_t*>(buffer.data());
  open.nMaxFile = static_cast<DWORD>(buffer.size());
  open.Flags = flags;
  constexpr LazyEntry<decltype(&::GetOpenFileNameW)> getOpenFileName{SystemDll::ComDlg32,
                                                                     "GetOpenFileNameW"};
  return getOpenFileName.CallOr(FALSE, &open) != FALSE;
}

std::uint32_t Win32PlaylistControls::CommDlgExtendedError() {
  constexpr LazyEntry<decltype(&::CommDlgExtendedError)> extendedError{SystemDll::ComDlg32,
                                                                       "CommDlgExtendedError"};
  // CDERR_INITIALIZATION is what the dialog reports when it cannot start at all.
  return extendedError.CallOr<DWORD>(CDERR_INITIALIZATION);
}

void Win32PlaylistControls::EndDialog(int result) { ::EndDialog(dialog_, result); }

}  // namespace glimmer::win32
