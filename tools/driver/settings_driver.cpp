#include "driver/settings_driver.h"

#include <commctrl.h>

#include <thread>
#include <utility>

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;

const wchar_t kTemplateTitle[] = L"Glimmerdale 3D Screensaver Configuration";

std::wstring WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

struct Search {
  DWORD processId;
  std::wstring className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindow(HWND window, LPARAM context) {
  auto& s = *reinterpret_cast<Search*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t name[257] = {};
  GetClassNameW(window, name, 257);
  if (owner == s.processId && s.className == name && IsWindowVisible(window))
    s.found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopWindowsOf(DWORD processId, const wchar_t* className) {
  Search search{processId, className, {}};
  EnumWindows(CollectTopWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

OwnedHandle Start(const std::wstring& program, const std::wstring& arguments, DWORD& processId) {
  StartedProcess started = StartProcess(program, arguments);
  processId = started.id;
  return std::move(started.process);
}

}  // namespace

void PumpFor(std::chrono::milliseconds time) {
  const auto deadline = std::chrono::steady_clock::now() + time;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < deadline);
}

OwnerWindow::OwnerWindow() {
  window_ = CreateWindowExW(0, L"STATIC", L"Display Properties", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                            200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow() {
  if (window_) DestroyWindow(window_);
}

SettingsSession::SettingsSession(const std::wstring& arguments, const std::wstring& program) {
  process_ = Start(program, arguments, processId_);
}

SettingsSession::SettingsSession(OwnedHandle process, DWORD processId)
    : process_(std::move(process)), processId_(processId) {}

SettingsSession::~SettingsSession() {
  if (process_ && WaitForSingleObject(process_.get(), 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_.get(), 255);
    WaitForSingleObject(process_.get(), 5000);
  }
}

HWND SettingsSession::WaitForDialog(std::chrono::milliseconds limit) {
  WaitFor(
      [this] {
        for (HWND window : TopWindowsOf(processId_, L"#32770")) {
          if (!GetDlgItem(window, IDOK) || !GetDlgItem(window, 1044)) continue;
          if (WindowText(window) == kTemplateTitle) continue;  // not yet set up
          dialog_ = window;
          return true;
        }
        return false;
      },
      limit);
  return dialog_;
}

void SettingsSession::Sync() const {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(dialog_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

int SettingsSession::Check(int id) const {
  return static_cast<int>(SendMessageW(Control(id), BM_GETCHECK, 0, 0));
}

int SettingsSession::TrackBar(int id) const {
  return static_cast<int>(SendMessageW(Control(id), TBM_GETPOS, 0, 0));
}

bool SettingsSession::Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }

std::wstring SettingsSession::Text(int id) const { return WindowText(Control(id)); }

std::wstring SettingsSession::Title() const { return WindowText(dialog_); }

std::vector<std::wstring> SettingsSession::ComboEntries(int id) const {
  std::vector<std::wstring> entries;
  const HWND combo = Control(id);
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(
        SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    entries.push_back(text);
  }
  return entries;
}

std::vector<LRESULT> SettingsSession::ComboData(int id) const {
  std::vector<LRESULT> data;
  const HWND combo = Control(id);
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) data.push_back(SendMessageW(combo, CB_GETITEMDATA, i, 0));
  return data;
}

int SettingsSession::ComboSelection(int id) const {
  return static_cast<int>(SendMessageW(Control(id), CB_GETCURSEL, 0, 0));
}

void SettingsSession::Click(int id) {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
}

void SettingsSession::ClickAndGoOn(int id) { PostMessageW(Control(id), BM_CLICK, 0, 0); }

void SettingsSession::PressOnTrackBar(int id, UINT key, int times) {
  const HWND bar = Control(id);
  DWORD_PTR ignored = 0;
  for (int i = 0; i < times; ++i) {
    SendMessageTimeoutW(bar, WM_KEYDOWN, key, 1, SMTO_NORMAL, 10000, &ignored);
    SendMessageTimeoutW(bar, WM_KEYUP, key, 0xC0000001, SMTO_NORMAL, 10000, &ignored);
  }
}

void SettingsSession::DragTrackBar(int id, int position) {
  const HWND bar = Control(id);
  SendMessageW(bar, TBM_SETPOS, TRUE, position);
  SendMessageW(dialog_, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, position),
               reinterpret_cast<LPARAM>(bar));
}

void SettingsSession::ChooseComboEntry(int id, int index) {
  const HWND combo = Control(id);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(combo, CB_SHOWDROPDOWN, TRUE, 0, SMTO_NORMAL, 10000, &ignored);
  SendMessageTimeoutW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 10000,
                      &ignored);
  SendMessageTimeoutW(combo, WM_KEYDOWN, VK_RETURN, 1, SMTO_NORMAL, 10000, &ignored);
  SendMessageTimeoutW(combo, WM_KEYUP, VK_RETURN, 0xC0000001, SMTO_NORMAL, 10000, &ignored);
  Sync();
}

void SettingsSession::PressKey(UINT key) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info);
  const HWND focus = info.hwndFocus ? info.hwndFocus : dialog_;
  PostMessageW(focus, WM_KEYDOWN, key, 1);
  PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
}

void SettingsSession::CloseBox() { PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::vector<MessageBoxSeen> SettingsSession::MessageBoxes() const {
  std::vector<MessageBoxSeen> boxes;
  for (HWND window : TopWindowsOf(processId_, L"#32770"))
    if (window != dialog_ && GetDlgItem(window, kMessageBoxTextId))
      boxes.push_back({WindowText(window), WindowText(GetDlgItem(window, kMessageBoxTextId))});
  return boxes;
}

std::vector<MessageBoxSeen> SettingsSession::AnswerMessageBoxes() {
  std::vector<MessageBoxSeen> seen;
  for (HWND window : TopWindowsOf(processId_, L"#32770")) {
    if (window == dialog_ || !GetDlgItem(window, kMessageBoxTextId)) continue;
    seen.push_back({WindowText(window), WindowText(GetDlgItem(window, kMessageBoxTextId))});
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  }
  return seen;
}

std::optional<DWORD> SettingsSession::WaitForExit(std::chrono::milliseconds limit) {
  if (!process_) return std::nullopt;
  if (!WaitFor([this] { return WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }, limit))
    return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

WallpaperStandIn::WallpaperStandIn(const std::wstring& log) : log_(log) {
  DeleteFileW(log_.c_str());
  SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_LOG", log_.c_str());
  SetEnvironmentVariableW(L"GLIMMERDALE_STANDIN_RUN_MS", nullptr);
  process_ = Start(ExecutableFolder() + L"stand-in-main.exe", L"/w", processId_);
  if (!process_) return;
  WaitFor(
      [this] {
        const auto windows = TopWindowsOf(processId_, L"Direct3D Window");
        if (!windows.empty()) window_ = windows.front();
        // The wallpaper window is never shown; look for hidden ones too.
        if (!window_) {
          HWND found = nullptr;
          while ((found = FindWindowExW(nullptr, found, L"Direct3D Window", nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if (owner == processId_) window_ = found;
          }
        }
        return window_ != nullptr;
      },
      20s);
}

WallpaperStandIn::~WallpaperStandIn() { CloseAndReadMessages(); }

std::vector<std::pair<int, int>> WallpaperStandIn::CloseAndReadMessages() {
  if (process_) {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0)
      TerminateProcess(process_.get(), 255);
    process_.reset();
  }
  std::vector<std::pair<int, int>> messages;
  for (const auto& line : ReadLines(log_)) {
    int code = 0;
    int value = 0;
    if (std::sscanf(line.c_str(), "message: %d %d", &code, &value) == 2)
      messages.emplace_back(code, value);
  }
  return messages;
}

void PutString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value) {
  HKEY opened = nullptr;
  if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) !=
      ERROR_SUCCESS)
    return;
  RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() * sizeof(wchar_t)));
  RegCloseKey(opened);
}

void WipeSettingsAndRunEntry() {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
  HKEY run = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, &run) == ERROR_SUCCESS) {
    RegDeleteValueW(run, L"VellumarkAnimatedWallpaper");
    RegCloseKey(run);
  }
}

std::optional<std::wstring> GetString(HKEY root, const wchar_t* key, const wchar_t* name) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return std::nullopt;
  DWORD type = 0;
  DWORD size = 0;
  std::optional<std::wstring> text;
  if (RegQueryValueExW(opened, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      type == REG_SZ) {
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    RegQueryValueExW(opened, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
    buffer.resize(size / sizeof(wchar_t));
    while (!buffer.empty() && buffer.back() == L'\0') buffer.pop_back();
    text = buffer;
  }
  RegCloseKey(opened);
  return text;
}

std::vector<RawRegistryValue> KeyValues(HKEY root, const wchar_t* key) {
  std::vector<RawRegistryValue> values;
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameLength = 16384;
    DWORD type = 0;
    DWORD size = 0;
    if (RegEnumValueW(opened, i, name, &nameLength, nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
      break;
    RawRegistryValue value{std::wstring(name, nameLength), type, std::vector<BYTE>(size)};
    nameLength = 16384;
    RegEnumValueW(opened, i, name, &nameLength, nullptr, &type, value.data.data(), &size);
    values.push_back(value);
  }
  RegCloseKey(opened);
  return values;
}

}  // namespace glimmer::driver
