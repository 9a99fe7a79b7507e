#include "win32/settings_dialog_win32.h"

#include <shellapi.h>

#include "platform/product.h"
#include "resource_ids.h"
#include "settings/settings_dialog.h"
#include "win32/dialog_controls_win32.h"
#include "win32/dialog_window.h"
#include "win32/playlist_dialog_win32.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"

namespace glimmer::win32 {
namespace {

class Win32DialogHost final : public DialogHost {
 public:
  Win32DialogHost(HINSTANCE instance, const Platform& platform)
      : instance_(instance), platform_(platform) {}
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
  void RunPlaylistEditor(Node& settings, TextCatalog& catalog) override {
    win32::RunPlaylistEditor(instance_, settings, catalog,
                             {.registry = platform_.registry,
                              .system = platform_.system,
                              .files = platform_.files,
                              .windows = platform_.windows,
                              .ui = platform_.ui,
                              .elevation = platform_.elevation,
                              .processes = platform_.processes});
  }

 private:
  HINSTANCE instance_;
  const Platform& platform_;
  HWND dialog_ = nullptr;
  HICON icon_ = nullptr;
  Win32DialogControls controls_;
};

// The dialog's state for one run; lives on RunSettingsDialog's stack.
struct SettingsDialogWindow {
  SettingsDialogWindow(HINSTANCE instance, const Platform& platform)
      : host(instance, platform), dialog(host, platform) {}
  void Attach(HWND window) { host.Attach(window); }
  bool ProcessWindowMessage(const DialogMessage& message, std::intptr_t& result) {
    return dialog.ProcessWindowMessage(message, result);
  }
  void OnFinalMessage() { dialog.OnFinalMessage(); }

  Win32DialogHost host;
  CSettingsDlg dialog;
};

}  // namespace

void RunSettingsDialog(HINSTANCE instance, const Platform& platform, HWND owner) {
  SettingsDialogWindow window(instance, platform);
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_SETTINGS), owner,
                  DialogProcOf<SettingsDialogWindow>, reinterpret_cast<LPARAM>(&window));
}

}  // namespace glimmer::win32
