// The message-box contract against MessageBoxW: another thread plays the user,
// reads the box that comes up on the test's thread and presses its OK button.
#include <string>
#include <thread>
#include <vector>

#include "contract/ui_contract.h"
#include "win32/system_win32.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::contract {
namespace {

static_assert(kIdOk == IDOK);
static_assert(kMbOk == MB_OK);
static_assert(kMbIconError == MB_ICONERROR);

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

class Win32MessageBoxWorld : public MessageBoxWorld {
 public:
  Win32MessageBoxWorld() : thread_(GetCurrentThreadId()) {}
  ~Win32MessageBoxWorld() override {
    Join();
    if (owner_) DestroyWindow(owner_);
  }

  UiPort& Port() override { return ui_; }

  WindowHandle MakeOwner() override {
    if (!owner_)
      owner_ = CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(nullptr, owner_) << GetLastError();
    return reinterpret_cast<WindowHandle>(owner_);
  }

  void PressOkOnNextBox() override {
    Join();
    user_ = std::thread([this] { PlayUser(); });
  }

  std::vector<ShownBox> Shown() override {
    Join();
    return shown_;
  }

  CursorHandle CurrentCursor() override { return reinterpret_cast<CursorHandle>(GetCursor()); }

 private:
  static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring_view(className) != L"#32770" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }

  static std::u16string Text(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, text.data(), static_cast<int>(text.size())));
    return win32::U16(text);
  }

  // Waits up to five seconds for the box, then reads and dismisses it.
  void PlayUser() {
    HWND box = nullptr;
    for (int attempt = 0; attempt < 500 && !box; ++attempt) {
      EnumThreadWindows(thread_, FindBox, reinterpret_cast<LPARAM>(&box));
      if (!box) Sleep(10);
    }
    if (!box) return;  // the test sees one box too few
    ShownBox shown;
    shown.owner = reinterpret_cast<WindowHandle>(GetWindow(box, GW_OWNER));
    shown.caption = Text(box);
    const HWND text = GetDlgItem(box, kMessageBoxTextId);
    if (text) shown.text = Text(text);
    shown_.push_back(shown);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
  }

  void Join() {
    if (user_.joinable()) user_.join();
  }

  win32::Win32Ui ui_;
  const DWORD thread_;
  HWND owner_ = nullptr;
  std::thread user_;
  std::vector<ShownBox> shown_;
};

INSTANTIATE_TEST_SUITE_P(Platform, UiContract,
                         ::testing::Values(UiImplementation{
                             "Win32", [] { return std::make_unique<Win32MessageBoxWorld>(); }}),
                         UiImplementationName);

}  // namespace
}  // namespace glimmer::contract
