// The wallpaper search over real windows. The cases run on a desktop of their
// own, away from windows other tests and programs leave on the usual one; each
// case checks that the walk meets its windows first and in the order it meant.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/ports.h"
#include "settings/wallpaper.h"
#include "win32/windows_api.h"
#include "win32/windows_win32.h"

// <commctrl.h> needs <windows.h> before it.
// clang-format off
#include <commctrl.h>
// clang-format on

namespace glimmer::win32 {
namespace {

struct DesktopCloser {
  void operator()(HDESK desktop) const { CloseDesktop(desktop); }
};
using OwnedDesktop = std::unique_ptr<std::remove_pointer_t<HDESK>, DesktopCloser>;

// Runs body on a new thread attached to a new desktop.
template <typename Body>
void OnOwnDesktop(const wchar_t* name, Body body) {
  OwnedDesktop desktop(CreateDesktopW(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr));
  ASSERT_NE(desktop, nullptr) << GetLastError();
  std::thread worker([&] {
    // A thread without windows may change its desktop.
    ASSERT_TRUE(SetThreadDesktop(desktop.get())) << GetLastError();
    body();
  });
  worker.join();
}

// A window to place; the list view is the common controls' own.
struct Win {
  const wchar_t* className;
  std::vector<Win> children = {};
  std::string tag = {};
};

Win D3d(std::string tag) { return Win{L"Direct3D Window", {}, std::move(tag)}; }
Win ShellDesktop() { return Win{L"Progman", {Win{L"SHELLDLL_DefView", {Win{WC_LISTVIEWW}}}}}; }

void RegisterOnce(const wchar_t* className) {
  if (std::wstring(className) == WC_LISTVIEWW) return;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DefWindowProcW;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = className;
  if (!RegisterClassW(&windowClass)) {
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS)) << className;
  }
}

class Arrangement {
 public:
  ~Arrangement() {
    for (HWND top : tops_) DestroyWindow(top);
  }
  // Makes the windows so that the walk meets them in the order given: a new
  // top-level window goes to the top of the Z order, a new child to the end.
  void Make(const std::vector<Win>& tops) {
    for (auto top = tops.rbegin(); top != tops.rend(); ++top) tops_.push_back(Make(nullptr, *top));
  }
  std::string TagOf(WindowHandle window) const {
    for (const auto& [tag, handle] : tagged_) {
      if (reinterpret_cast<WindowHandle>(handle) == window) return tag;
    }
    return window == 0 ? "none" : "an untagged window";
  }
  // The windows were made on top of whatever the desktop held before; the
  // case means what it says only if the walk meets them first, in the given
  // order, and nothing after them takes part in the search.
  void ExpectWalkedFirstBeforeBystanders() const {
    std::vector<HWND> walked;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&walked));
    const std::vector<HWND> inWalkingOrder(tops_.rbegin(), tops_.rend());
    ASSERT_GE(walked.size(), tops_.size());
    EXPECT_EQ(std::vector<HWND>(walked.begin(), walked.begin() + tops_.size()), inWalkingOrder);
    for (auto other = walked.begin() + tops_.size(); other != walked.end(); ++other) {
      EXPECT_FALSE(TakesPart(*other)) << "a window on the desktop already takes part";
    }
  }

 private:
  static std::wstring ClassOf(HWND window) {
    wchar_t name[257] = {};
    GetClassNameW(window, name, 257);
    return name;
  }
  static BOOL CALLBACK Collect(HWND window, LPARAM context) {
    reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
  }
  static bool TakesPart(HWND window) {
    std::vector<HWND> windows{window};
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&windows));
    return std::any_of(windows.begin(), windows.end(), [](HWND one) {
      const std::wstring name = ClassOf(one);
      return name == L"Direct3D Window" || name == L"SysListView32";
    });
  }

  HWND Make(HWND parent, const Win& window) {
    RegisterOnce(window.className);
    const HWND handle =
        CreateWindowExW(0, window.className, L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 50, 50,
                        parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(handle, nullptr) << GetLastError();
    if (!window.tag.empty()) tagged_[window.tag] = handle;
    for (const Win& child : window.children) Make(handle, child);
    return handle;
  }

  std::vector<HWND> tops_;
  std::map<std::string, HWND> tagged_;
};

class WallpaperSearch : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
  }

  Win32Windows windows_;
};

struct Case {
  const char* name;
  std::vector<Win> desktop;  // in walking order
  std::string expected;
};

TEST_F(WallpaperSearch, FindsTheWindowTheRulesName) {
  const std::vector<Case> cases = {
      {"one before and one after the icon list",
       {D3d("before"), ShellDesktop(), D3d("after")},
       "before"},
      {"last before the icon list", {D3d("1"), D3d("2"), ShellDesktop(), D3d("3")}, "2"},
      {"first after the icon list", {ShellDesktop(), D3d("1"), D3d("2")}, "1"},
      {"without an icon list the last one", {D3d("1"), Win{L"Other"}, D3d("2")}, "2"},
      {"a descendant",
       {Win{L"Host", {Win{L"Frame", {D3d("deep")}}}}, ShellDesktop(), D3d("top")},
       "deep"},
      {"nothing", {Win{L"Other"}, ShellDesktop()}, "none"},
  };
  OnOwnDesktop(L"GlimmerdaleWallpaperSearch", [&] {
    for (const Case& arranged : cases) {
      SCOPED_TRACE(arranged.name);
      Arrangement arrangement;
      arrangement.Make(arranged.desktop);
      arrangement.ExpectWalkedFirstBeforeBystanders();
      EXPECT_EQ(arrangement.TagOf(FindWallpaperWindow(windows_)), arranged.expected);
    }
  });
}

}  // namespace
}  // namespace glimmer::win32
