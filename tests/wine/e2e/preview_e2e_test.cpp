// The shell started as the display control panel starts it for its preview
// box: "/p <number>" with a window of the driver's own as the box.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "driver/driver.h"
#include "driver/preview_box.h"
#include "win32/preview_win32.h"
#include "win32/windows_win32.h"

namespace glimmer::driver {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::wstring Shell() { return ExecutableFolder() + L"Glimmerdale.scr"; }

std::string SizeText(SIZE size) { return std::to_string(size.cx) + "x" + std::to_string(size.cy); }

RECT InParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

// The shell's child in box, once it has appeared.
struct Preview {
  StartedProcess shell;
  HWND child = nullptr;
};

Preview StartIn(PreviewBox& box, const std::wstring& program) {
  Preview preview;
  const auto start = Clock::now();
  preview.shell = StartProcess(program, L"/p " + box.Number());
  if (!preview.shell.process) return preview;
  if (box.PumpUntil([&] { return box.ShownChild() != nullptr; }, 15s)) {
    preview.child = box.ShownChild();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    std::printf("preview child after %lld ms\n", static_cast<long long>(ms.count()));
  }
  return preview;
}

// Destroys the box and expects the shell to end with code 0 within a second.
void ExpectEndsWithTheBox(PreviewBox& box, Preview& preview) {
  box.Destroy();
  const std::optional<DWORD> code = box.PumpUntilExit(preview.shell.process.get(), 1000ms);
  EXPECT_EQ(std::optional<DWORD>(0), code)
      << "no exit with code 0 within a second after the box went";
  if (!code) TerminateProcess(preview.shell.process.get(), 255);
}

TEST(PreviewE2E, ChildCoversTheBoxKeepsItsSizeAndEndsWithIt) {
  for (const SIZE size : {SIZE{152, 112}, SIZE{330, 120}}) {
    SCOPED_TRACE(SizeText(size));
    PreviewBox box(size.cx, size.cy);
    ASSERT_NE(box.Handle(), nullptr);
    Preview preview = StartIn(box, Shell());
    ASSERT_TRUE(preview.shell.process);
    ASSERT_NE(preview.child, nullptr) << "no child window appeared";

    EXPECT_EQ(1u, box.Children().size());
    DWORD owner = 0;
    GetWindowThreadProcessId(preview.child, &owner);
    EXPECT_EQ(preview.shell.id, owner);
    EXPECT_EQ(ErrorModeOf(preview.shell.id).value_or(0) & SEM_FAILCRITICALERRORS, 1u);
    const RECT whole = box.ClientRect();
    RECT first = InParent(preview.child);
    EXPECT_TRUE(EqualRect(&whole, &first));

    ASSERT_TRUE(box.ResizeClient(size.cx + 90, size.cy / 2));
    // A round trip through the shell's thread: anything it would do about
    // the new size has been done once this returns.
    DWORD_PTR ignored = 0;
    EXPECT_NE(0, SendMessageTimeoutW(preview.child, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored));
    RECT after = InParent(preview.child);
    EXPECT_TRUE(EqualRect(&first, &after)) << "the child followed the box's new size";

    ExpectEndsWithTheBox(box, preview);
  }
}

// The display scaling programs started from now on see (Wine reads it when a
// process first calls into user32), and the one there was before, restored
// when this goes.
class SystemDpi {
 public:
  explicit SystemDpi(DWORD dpi) {
    RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                    KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key_, nullptr);
    DWORD size = sizeof(before_);
    had_ = RegQueryValueExW(key_, kValue, nullptr, nullptr, reinterpret_cast<BYTE*>(&before_),
                            &size) == ERROR_SUCCESS;
    RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi));
  }
  SystemDpi(const SystemDpi&) = delete;
  SystemDpi& operator=(const SystemDpi&) = delete;
  ~SystemDpi() {
    if (had_) {
      RegSetValueExW(key_, kValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&before_),
                     sizeof(before_));
    } else {
      RegDeleteValueW(key_, kValue);
    }
    RegCloseKey(key_);
  }

 private:
  static constexpr wchar_t kValue[] = L"LogPixels";
  HKEY key_ = nullptr;
  bool had_ = false;
  DWORD before_ = 0;
};

TEST(PreviewE2E, ChildCoversABoxUnawareOfScalingAt144Dpi) {
  // The control panel's box made unaware of scaling, the shell at 150 %.
  // Made in its own context, the child took 101 x 75 pixels of this box.
  win32::Win32Windows windows;
  const DpiContext own = windows.SetThreadDpiAwarenessContext(kDpiContextUnaware);
  ASSERT_NE(0u, own);
  PreviewBox box(152, 112);
  windows.SetThreadDpiAwarenessContext(own);
  ASSERT_NE(box.Handle(), nullptr);
  Preview preview;
  {
    const SystemDpi dpi(144);
    preview = StartIn(box, Shell());
  }
  ASSERT_TRUE(preview.shell.process);
  ASSERT_NE(preview.child, nullptr) << "no child window appeared";
  const RECT whole = box.ClientRect();
  const RECT child = InParent(preview.child);
  EXPECT_TRUE(EqualRect(&whole, &child))
      << "child " << child.left << "," << child.top << "," << child.right << "," << child.bottom;
  EXPECT_EQ(windows.GetWindowDpiAwarenessContext(reinterpret_cast<WindowHandle>(box.Handle())),
            windows.GetWindowDpiAwarenessContext(reinterpret_cast<WindowHandle>(preview.child)));
  ExpectEndsWithTheBox(box, preview);
}

TEST(PreviewE2E, BoxDestroyedWhileTheChildIsCreatedStillEndsTheShell) {
  PreviewBox box(152, 112);
  box.DestroyWhenAChildIsCreated();
  const std::wstring number = box.Number();
  StartedProcess shell = StartProcess(Shell(), L"/p " + number);
  ASSERT_TRUE(shell.process);
  ASSERT_TRUE(box.PumpUntil([&] { return !IsWindow(box.Handle()); }, 15s)) << "no child came";
  const std::optional<DWORD> code = box.PumpUntilExit(shell.process.get(), 1000ms);
  EXPECT_EQ(std::optional<DWORD>(0), code) << "waits for a window that is gone";
  if (!code) TerminateProcess(shell.process.get(), 255);
}

TEST(PreviewE2E, NoBoxOrAStaleNumberEndsAtOnce) {
  for (const std::wstring& arguments :
       {std::wstring(L"/p 0"), std::wstring(L"/p"), L"/p " + StaleWindowNumber()}) {
    const ShellRun run = RunAndAnswer(Shell(), arguments, L"", 10s);
    ASSERT_TRUE(run.exited) << ToUtf8(arguments) << " waited for a window it does not have";
    EXPECT_EQ(0u, run.exitCode) << ToUtf8(arguments);
    EXPECT_TRUE(run.boxes.empty()) << ToUtf8(arguments);
  }
}

// A copy of the shell whose picture is gone or broken: the box shows the
// window colour, and the shell still waits for the box to go.
class PreviewWithoutPicture : public testing::TestWithParam<std::optional<std::string>> {
 protected:
  void SetUp() override {
    folder_ = TempFolder() + L"glimmerdale-preview";
    RemoveTree(folder_);
    ASSERT_TRUE(MakeFolders(folder_));
    copy_ = folder_ + L"\\Glimmerdale.scr";
    ASSERT_TRUE(CopyWithPreviewPicture(Shell(), copy_, GetParam()));
  }
  void TearDown() override { RemoveTree(folder_); }

  std::wstring folder_;
  std::wstring copy_;
};

TEST_P(PreviewWithoutPicture, ShowsTheWindowColourAndWaitsForTheBox) {
  PreviewBox box(152, 112);
  Preview preview = StartIn(box, copy_);
  ASSERT_NE(preview.child, nullptr) << "no child window without a picture";
  EXPECT_FALSE(box.PumpUntilExit(preview.shell.process.get(), 300ms).has_value())
      << "ended without its window being destroyed";
  ExpectEndsWithTheBox(box, preview);

  // What the shell's child would show, painted by the same code in this
  // process: its pixels cannot be read across processes.
  const HMODULE image = LoadLibraryExW(copy_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  {
    PreviewBox local(152, 112);
    win32::CPreviewWnd window(image);
    ASSERT_NE(window.Create(local.Handle(), Placement{0, 0, 152, 112}), nullptr);
    EXPECT_EQ(E_FAIL, window.LoadPreviewPicture(kPreviewPictureId));
    const std::vector<COLORREF> shown = CaptureClient(window.Handle());
    ASSERT_EQ(152u * 112u, shown.size());
    EXPECT_EQ(shown.size(), static_cast<size_t>(
                                std::count(shown.begin(), shown.end(), GetSysColor(COLOR_WINDOW))));
  }
  FreeLibrary(image);
}

INSTANTIATE_TEST_SUITE_P(Preview, PreviewWithoutPicture,
                         testing::Values(std::nullopt, std::string("not a picture, just text")),
                         [](const testing::TestParamInfo<std::optional<std::string>>& info) {
                           return std::string(info.param ? "Corrupt" : "Removed");
                         });

}  // namespace
}  // namespace glimmer::driver
