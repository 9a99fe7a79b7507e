#include "win32/settings_dialog_win32.h"

#include <shellapi.h>

#include "platform/product.h"
#include "resource_ids.h"
#include "settings/settings_dialog.h"
#include "win32/dialog_controls_win32.h"
#include "win32/playlist_dialog_win32.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"

namespace glimmer::win32 {
namespace {

static_assert(kWmDestroy == WM_DESTROY && kWmClose == WM_CLOSE && kWmInitDialog == WM_INITDIALOG &&
              kWmCommand == WM_COMMAND && kWmHScroll == WM_HSCROLL);
static_assert(kBnClicked == BN_CLICKED && kCbnSelEndOk == CBN_SELENDOK && kIdOk == IDOK &&
              kIdCancel == IDCANCEL);

class Win32DialogHost final : public DialogHost {
 public:
  explicit Win32DialogHost(HINSTANCE instance) : instance_(instance) {}
  void Attach(HWND dialog) {
    dialog_ = dialog;
    controls_.Attach(dialog);
  }

  WindowHandle Window() override { return reinterpret_cast<WindowHandle>(dialog_); }
  DialogControls& Controls() override { return controls_; }
  ControlId ControlIdOf(WindowHandle control) override {
    return control ? GetDlgCtrlID(reinterpret_cast<HWND>(control)) : 0;
  }
  void EndDialog(std::intptr_t result) override { ::EndDialog(dialog_, result); }
  void SetTitle(std::u16string_view title) override {
    const std::wstring wide = Wide(title);
    SendMessageW(dialog_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
  }
  void Show() override { ShowWindow(dialog_, SW_SHOWNORMAL); }
  void SetBigIcon() override {
    DestroyBigIcon();
    icon_ = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_GLIMMERDALE));
    SendMessageW(dialog_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  }
  void DestroyBigIcon() override {
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
  }
  void PostQuitMessage(int code) override { ::PostQuitMessage(code); }
  void OpenWebPage(std::u16string_view url) override {
    constexpr LazyEntry<decltype(&::ShellExecuteW)> shellExecute{SystemDll::Shell32,
                                                                 "ShellExecuteW"};
    shellExecute.Call(nullptr, nullptr, Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }
  void RunPlaylistEditor(Node& settings) override {
    win32::RunPlaylistEditor(instance_, settings, kProductName);
  }

 private:
  HINSTANCE instance_;
  HWND dialog_ = nullptr;
  HICON icon_ = nullptr;
  Win32DialogControls controls_;
};

struct SettingsDialogWindow {
  explicit SettingsDialogWindow(HINSTANCE instance) : host(instance), dialog(host) {}
  Win32DialogHost host;
  CSettingsDlg dialog;
};

INT_PTR CALLBACK SettingsDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SettingsDialogWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<SettingsDialogWindow*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->host.Attach(window);
  }
  if (self == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, DWLP_USER, 0);
    self->dialog.OnFinalMessage();
    return FALSE;
  }
  try {
    std::intptr_t result = 0;
    if (!self->dialog.ProcessWindowMessage(
            {message, static_cast<std::uintptr_t>(wParam), static_cast<std::intptr_t>(lParam)},
            result))
      return FALSE;
    if (message == WM_INITDIALOG) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(window, DWLP_MSGRESULT, static_cast<LONG_PTR>(result));
    return TRUE;
  } catch (...) {
    // Nothing may unwind through the system's dialog manager.
    ::EndDialog(window, 0);
    return TRUE;
  }
}

}  // namespace

void RunSettingsDialog(HINSTANCE instance, HWND owner) {
  SettingsDialogWindow window(instance);
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner, SettingsDialogProc,
                  reinterpret_cast<LPARAM>(&window));
}

}  // namespace glimmer::win32
