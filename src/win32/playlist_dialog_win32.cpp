#include "win32/playlist_dialog_win32.h"

#include <cderr.h>
#include <commctrl.h>

#include <optional>

#include "playlist/file_dialog.h"
#include "playlist/playlist_dialog.h"
#include "resource_ids.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"

namespace glimmer::win32 {
namespace {

static_assert(kLvisFocused == LVIS_FOCUSED && kLvisSelected == LVIS_SELECTED);
static_assert(kOfnAllowMultiSelect == OFN_ALLOWMULTISELECT &&
              kOfnPathMustExist == OFN_PATHMUSTEXIST && kOfnFileMustExist == OFN_FILEMUSTEXIST &&
              kOfnExplorer == OFN_EXPLORER);
static_assert(kFnErrBufferTooSmall == FNERR_BUFFERTOOSMALL);
static_assert(kWmInitDialog == WM_INITDIALOG && kWmCommand == WM_COMMAND && kWmClose == WM_CLOSE &&
              kBnClicked == BN_CLICKED && kIdOk == IDOK && kIdCancel == IDCANCEL);

// The editor's state for one run; lives on RunPlaylistEditor's stack.
struct EditorWindow {
  Node& settings;
  std::u16string_view productName;
  std::optional<Win32PlaylistControls> controls;
  std::optional<CPlaylistDlg> dialog;
};

INT_PTR CALLBACK PlaylistDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* editor = reinterpret_cast<EditorWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    editor = reinterpret_cast<EditorWindow*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    editor->controls.emplace(window);
    editor->dialog.emplace(editor->settings, editor->productName, *editor->controls);
  }
  if (editor == nullptr || !editor->dialog) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    return FALSE;
  }
  std::intptr_t result = 0;
  const DialogMessage unpacked{message, wParam, lParam};
  if (!editor->dialog->ProcessWindowMessage(unpacked, result)) return FALSE;
  // TRUE tells the dialog manager a message was handled; only WM_INITDIALOG
  // answers otherwise (whether it should set the focus).
  return message == WM_INITDIALOG ? static_cast<INT_PTR>(result) : TRUE;
}

}  // namespace

void RunPlaylistEditor(HINSTANCE instance, Node& settings, std::u16string_view productName) {
  // The list view's class, whichever comctl32 the process is bound to.
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
  constexpr LazyEntry<decltype(&::InitCommonControlsEx)> initControls{SystemDll::ComCtl32,
                                                                      "InitCommonControlsEx"};
  initControls.CallOr(FALSE, &classes);
  EditorWindow editor{settings, productName, std::nullopt, std::nullopt};
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_PLAYLIST), GetActiveWindow(), PlaylistDialogProc,
                  reinterpret_cast<LPARAM>(&editor));
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
