// The playlist-window contract against the controls of a dialog made from the
// shell's template 162 and against the system's file-open dialog, answered
// from a second thread as a user would.
// clang-format off
#include "shield_recorder.h"
#include "win32/playlist_dialog_win32.h"  // <windows.h>, which <commctrl.h> needs
#include <commctrl.h>
// clang-format on

#include "contract/playlist_controls_contract.h"

#include <chrono>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "resource_ids.h"
#include "win32/wide.h"

namespace glimmer::contract {
namespace {

using namespace std::chrono_literals;

constexpr int kFileNameBox = 1148;  // the file-open dialog's file name combo box

std::wstring BesideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

// The shell's resources, loaded once for every test of this binary.
HMODULE Shell() {
  static const HMODULE shell =
      LoadLibraryExW(BesideThisProgram(L"Glimmerdale.scr").c_str(), nullptr,
                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  return shell;
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

void WriteEmptyFile(const std::wstring& path) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << GetLastError();
  CloseHandle(file);
}

struct Search {
  HWND exclude;
  HWND found = nullptr;
};

BOOL CALLBACK MatchFileDialog(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<Search*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (window == search.exclude || process != GetCurrentProcessId() || !IsWindowVisible(window) ||
      GetDlgItem(window, kFileNameBox) == nullptr)
    return TRUE;
  search.found = window;
  return FALSE;
}

// A visible file-open dialog of this process.
HWND FindFileDialog(HWND exclude) {
  Search search{exclude};
  EnumWindows(MatchFileDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Types text into the file name box and presses Open. Sent, not posted: a
// posted press could be overtaken by the next text sent.
void TypeAndOpen(HWND dialog, const std::wstring& text) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(GetDlgItem(dialog, kFileNameBox), WM_SETTEXT, 0,
                      reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 10000, &ignored);
  SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0, SMTO_NORMAL, 10000,
                      &ignored);
}

class Win32PlaylistWindow : public PlaylistWindow {
 public:
  Win32PlaylistWindow() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    dialog_ = CreateDialogParamW(Shell(), MAKEINTRESOURCEW(IDD_PLAYLIST), nullptr, NoDialogProc, 0);
    EXPECT_NE(dialog_, nullptr) << "template 162 of Glimmerdale.scr: " << GetLastError();
    controls_.emplace(dialog_);
    shield_.emplace(GetDlgItem(dialog_, IDOK));
  }
  ~Win32PlaylistWindow() override {
    if (answer_.joinable()) answer_.join();
    DestroyWindow(dialog_);
    for (const auto& path : created_) DeleteFileW(path.c_str());
    if (!folder_.empty()) RemoveDirectoryW(folder_.c_str());
  }

  PlaylistControls& Controls() override { return *controls_; }
  bool OkShielded() override { return shield_->Shielded(); }
  void Select(int index, bool selected) override {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED;
    item.state = selected ? LVIS_SELECTED : 0;
    EXPECT_TRUE(SendMessageW(List(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)));
  }
  std::vector<std::u16string> ItemTexts() override {
    std::vector<std::u16string> texts;
    const int count = static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      wchar_t text[1024] = {};
      LVITEMW item{};
      item.iSubItem = 0;
      item.pszText = text;
      item.cchTextMax = 1024;
      SendMessageW(List(), LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
      texts.push_back(win32::AsU16(text));
    }
    return texts;
  }
  std::u16string MusicFolder(bool root) override {
    std::wstring folder;
    if (root) {
      folder = L"C:\\";
    } else {
      wchar_t temp[MAX_PATH + 1] = {};
      GetTempPathW(MAX_PATH + 1, temp);
      folder_ = std::wstring(temp) + L"glimmerdale-playlist-contract";
      CreateDirectoryW(folder_.c_str(), nullptr);
      folder = folder_ + L"\\";
    }
    for (const wchar_t* name : {L"a.mp3", L"b.mp3", L"c.mp3"}) {
      created_.push_back(folder + name);
      WriteEmptyFile(created_.back());
    }
    return win32::U16(root ? folder : folder_);
  }
  void AnswerFileDialog(std::u16string folder, std::vector<std::u16string> names) override {
    if (answer_.joinable()) answer_.join();
    answer_ = std::thread([this, folder = win32::Wide(folder), names] {
      HWND open = nullptr;
      for (auto start = std::chrono::steady_clock::now();
           !open && std::chrono::steady_clock::now() - start < 30s;
           std::this_thread::sleep_for(50ms))
        open = FindFileDialog(dialog_);
      if (!open) return;
      // The dialog shows its first folder after it opened; typing before
      // that could be undone by it.
      for (int i = 0; i < 100 && !FindWindowExW(open, nullptr, L"SHELLDLL_DefView", nullptr); ++i)
        std::this_thread::sleep_for(50ms);
      if (names.empty()) {
        PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return;
      }
      if (names.size() == 1) {
        const wchar_t* separator = folder.ends_with(L"\\") ? L"" : L"\\";
        TypeAndOpen(open, folder + separator + win32::Wide(names.front()));
      } else {
        TypeAndOpen(open, folder);  // Open on a folder goes into it
        std::wstring quoted;
        for (const auto& name : names) quoted += L"\"" + win32::Wide(name) + L"\" ";
        TypeAndOpen(open, quoted);
      }
      // Whatever went wrong, the dialog must not stay and hang the test.
      for (int i = 0; i < 100 && IsWindow(open); ++i) std::this_thread::sleep_for(50ms);
      if (IsWindow(open)) PostMessageW(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
  }

  bool ChecksResultBufferSize() override {
    // Windows does; Wine (recognised by its ntdll export) does not.
    return GetProcAddress(GetModuleHandleW(L"ntdll"), "wine_get_version") == nullptr;
  }

 private:
  HWND List() const { return GetDlgItem(dialog_, IDC_PLAYLIST_LIST); }

  HWND dialog_ = nullptr;
  std::optional<win32::Win32PlaylistControls> controls_;
  std::optional<win32::ShieldRecorder> shield_;
  std::thread answer_;
  std::wstring folder_;
  std::vector<std::wstring> created_;
};

INSTANTIATE_TEST_SUITE_P(Platform, PlaylistControlsContract,
                         ::testing::Values(PlaylistImplementation{
                             "Win32", [] { return std::make_unique<Win32PlaylistWindow>(); }}),
                         PlaylistImplementationName);

}  // namespace
}  // namespace glimmer::contract
