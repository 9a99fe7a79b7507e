// The controls contract against real controls; the native tests hold the fake to it.
// clang-format off
#include "win32/windows_api.h"  // before <commctrl.h>, which needs it
#include <commctrl.h>
// clang-format on

#include <optional>

#include "contract/dialog_controls_contract.h"
#include "shield_recorder.h"
#include "win32/dialog_controls_win32.h"

namespace glimmer::contract {
namespace {

class Win32ControlsUnderTest : public ControlsUnderTest {
 public:
  Win32ControlsUnderTest() {
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    parent_ = CreateWindowExW(0, L"STATIC", L"controls", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                              instance, nullptr);
    EXPECT_NE(parent_, nullptr);
    Make(L"BUTTON", BS_AUTOCHECKBOX, kCheckBox);
    Make(TRACKBAR_CLASSW, TBS_HORZ | TBS_NOTICKS, kTrackBar);
    Make(L"STATIC", SS_RIGHT, kStatic);
    Make(L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, kCombo);
    Make(L"COMBOBOX", CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL, kSortedCombo);
    Make(L"BUTTON", BS_PUSHBUTTON, kButton);
    controls_.Attach(parent_);
    shield_.emplace(GetDlgItem(parent_, kButton));
  }
  ~Win32ControlsUnderTest() override { DestroyWindow(parent_); }
  DialogControls& Controls() override { return controls_; }
  bool Shielded() override { return shield_->Shielded(); }

 private:
  void Make(const wchar_t* className, DWORD style, ControlId id) {
    const HWND control = CreateWindowExW(
        0, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 100, parent_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(control, nullptr) << id << " error " << GetLastError();
  }

  HWND parent_ = nullptr;
  win32::Win32DialogControls controls_;
  std::optional<win32::ShieldRecorder> shield_;
};

INSTANTIATE_TEST_SUITE_P(Platform, DialogControlsContract,
                         testing::Values(DialogControlsImplementation{
                             "Win32", [] { return std::make_unique<Win32ControlsUnderTest>(); }}),
                         DialogControlsName);

}  // namespace
}  // namespace glimmer::contract
