#include "driver/playlist_driver.h"

#include <commctrl.h>

#include <thread>

#include "driver/settings_driver.h"
#include "resource_ids.h"

namespace glimmer::driver {
namespace {

constexpr int kFileNameBox = 1148;  // the file-open dialog's file name combo box

struct ControlDialogSearch {
  DWORD processId;
  int controlId;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<ControlDialogSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window) ||
      GetDlgItem(window, search.controlId) == nullptr)
    return TRUE;
  search.found = window;
  return FALSE;
}

// The first visible dialog of process that has a control with controlId.
HWND FindDialogWith(DWORD processId, int controlId) {
  ControlDialogSearch search{processId, controlId};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void SyncWith(HWND window) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

}  // namespace

RemoteMemory::RemoteMemory(DWORD processId, std::size_t size)
    : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                           processId)) {
  if (process_)
    address_ =
        VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory() {
  if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(const void* data, std::size_t size, std::size_t offset) {
  SIZE_T done = 0;
  return address_ &&
         WriteProcessMemory(process_.get(), static_cast<char*>(address_) + offset, data, size,
                            &done) &&
         done == size;
}

bool RemoteMemory::Read(void* data, std::size_t size, std::size_t offset) const {
  SIZE_T done = 0;
  return address_ &&
         ReadProcessMemory(process_.get(), static_cast<const char*>(address_) + offset, data, size,
                           &done) &&
         done == size;
}

HWND PlaylistEditorDriver::WaitForEditor(std::chrono::milliseconds limit) {
  WaitFor([&] { return (editor_ = FindDialogWith(processId_, IDC_PLAYLIST_LIST)) != nullptr; },
          limit);
  if (editor_) SyncWith(editor_);
  return editor_;
}

bool PlaylistEditorDriver::WaitUntilClosed(std::chrono::milliseconds limit) {
  return WaitFor([&] { return !IsWindow(editor_); }, limit);
}

std::vector<std::wstring> PlaylistEditorDriver::Items() const {
  // LVM_GETITEMTEXTW writes through pointers, so the item and its text
  // buffer must live in the editor's process.
  constexpr int kCapacity = 4096;
  const HWND list = GetDlgItem(editor_, IDC_PLAYLIST_LIST);
  std::vector<std::wstring> texts;
  RemoteMemory memory(processId_, sizeof(LVITEMW) + kCapacity * sizeof(wchar_t));
  if (!memory.Valid()) return texts;
  const auto count = SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    LVITEMW item{};
    item.iSubItem = 0;
    item.cchTextMax = kCapacity;
    item.pszText =
        reinterpret_cast<wchar_t*>(static_cast<char*>(memory.Address()) + sizeof(LVITEMW));
    memory.Write(&item, sizeof(item));
    const auto length =
        SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(memory.Address()));
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (length > 0) memory.Read(text.data(), text.size() * sizeof(wchar_t), sizeof(LVITEMW));
    texts.push_back(text);
  }
  return texts;
}

bool PlaylistEditorDriver::SelectOnly(const std::vector<int>& indexes) {
  const HWND list = GetDlgItem(editor_, IDC_PLAYLIST_LIST);
  RemoteMemory memory(processId_, sizeof(LVITEMW));
  if (!memory.Valid()) return false;
  auto set = [&](int index, UINT state) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = state;
    return memory.Write(&item, sizeof(item)) &&
           SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                        reinterpret_cast<LPARAM>(memory.Address())) != FALSE;
  };
  bool ok = set(-1, 0);  // -1: every item
  for (int index : indexes) ok = set(index, LVIS_SELECTED) && ok;
  return ok;
}

int PlaylistEditorDriver::Shuffle() const {
  return static_cast<int>(SendDlgItemMessageW(editor_, IDC_SHUFFLE, BM_GETCHECK, 0, 0));
}

std::wstring PlaylistEditorDriver::Text(int id) const {
  wchar_t text[512] = {};
  GetWindowTextW(id ? GetDlgItem(editor_, id) : editor_, text, 512);
  return text;
}

void PlaylistEditorDriver::Click(int id) {
  // Sent, so it returns once handled. (Only "Add..." must be posted: its
  // click does not return while the file-open dialog is up.)
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(GetDlgItem(editor_, id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

void PlaylistEditorDriver::Sync() const {
  if (IsWindow(editor_)) SyncWith(editor_);
}

HWND PlaylistEditorDriver::OpenFileDialog(std::chrono::milliseconds limit) {
  HWND open = nullptr;
  WaitFor([&] { return (open = FindDialogWith(processId_, kFileNameBox)) != nullptr; }, limit);
  if (!open) return nullptr;
  // The dialog shows its first folder after it opened; typing before that
  // could be undone by it.
  WaitFor([&] { return FindWindowExW(open, nullptr, L"SHELLDLL_DefView", nullptr) != nullptr; },
          std::chrono::seconds(5));
  SyncWith(open);
  return open;
}

bool PlaylistEditorDriver::Answer(const std::vector<std::wstring>& typed, bool cancel) {
  PostMessageW(GetDlgItem(editor_, IDC_PLAYLIST_ADD), BM_CLICK, 0, 0);
  const HWND open = OpenFileDialog(std::chrono::seconds(30));
  if (!open) return false;
  if (cancel) {
    PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  } else {
    // Open is sent, not posted: a posted press could be overtaken by the
    // next text sent, which the dialog's thread takes first.
    for (const std::wstring& text : typed) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(GetDlgItem(open, kFileNameBox), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 10000, &ignored);
      SendMessageTimeoutW(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, SMTO_NORMAL, 10000,
                          &ignored);
    }
  }
  const bool gone = WaitFor([&] { return !IsWindow(open); }, std::chrono::seconds(20));
  Sync();
  return gone;
}

bool PlaylistEditorDriver::AddFile(const std::wstring& path) { return Answer({path}, false); }

bool PlaylistEditorDriver::AddFiles(const std::wstring& folder,
                                    const std::vector<std::wstring>& names) {
  std::wstring quoted;
  for (const std::wstring& name : names) quoted += L"\"" + name + L"\" ";
  // Open on a folder goes into it; the names are then taken from there.
  return Answer({folder, quoted}, false);
}

bool PlaylistEditorDriver::AddNothing() { return Answer({}, true); }

}  // namespace glimmer::driver
