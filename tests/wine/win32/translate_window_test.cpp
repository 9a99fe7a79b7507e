// TranslateWindow on a real dialog made from a template: the walk must see the
// controls in template order, reach only direct children, and leave texts that
// are not keys alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_resources.h"
#include "fakes/fake_system.h"
#include "i18n/text_catalog.h"
#include "translate_test_ids.h"
#include "win32/wide.h"
#include "win32/windows_api.h"
#include "win32/windows_win32.h"

namespace glimmer::win32 {
namespace {

// The Win32 adapter, noting which windows the walk reads.
class RecordingWindows : public WindowPort {
 public:
  std::vector<WindowHandle> reads;

  std::u16string GetWindowText(WindowHandle window, int capacity) override {
    reads.push_back(window);
    return real_.GetWindowText(window, capacity);
  }
  bool SetWindowText(WindowHandle window, std::u16string_view text) override {
    return real_.SetWindowText(window, text);
  }
  WindowHandle GetTopWindow(WindowHandle window) override { return real_.GetTopWindow(window); }
  WindowHandle GetNextWindow(WindowHandle window) override { return real_.GetNextWindow(window); }
  bool EnumWindows(const Visitor& visit) override { return real_.EnumWindows(visit); }
  void EnumChildWindows(WindowHandle parent, const Visitor& visit) override {
    real_.EnumChildWindows(parent, visit);
  }
  std::u16string GetClassName(WindowHandle window, int capacity) override {
    return real_.GetClassName(window, capacity);
  }
  WindowHandle GetParent(WindowHandle window) override { return real_.GetParent(window); }
  bool IsWindow(WindowHandle window) override { return real_.IsWindow(window); }
  std::uint32_t RegisterWindowMessage(std::u16string_view name) override {
    return real_.RegisterWindowMessage(name);
  }
  bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                   std::intptr_t lParam) override {
    return real_.PostMessage(window, message, wParam, lParam);
  }
  DpiContext GetWindowDpiAwarenessContext(WindowHandle window) override {
    return real_.GetWindowDpiAwarenessContext(window);
  }
  DpiContext SetThreadDpiAwarenessContext(DpiContext context) override {
    return real_.SetThreadDpiAwarenessContext(context);
  }

 private:
  Win32Windows real_;
};

std::string Catalog(const std::string& longKey) {
  return "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<Root><Languages>"
         "<Language Tag=\"en\"/><Language Tag=\"de\"/></Languages><TextBlock Tag=\"D\">"
         "<Var Tag=\"Playlist\"><String Lang=\"de\" Text=\"Playliste\"/></Var>"
         "<Var Tag=\"Add...\"><String Lang=\"de\" Text=\"Hinzuf\xC3\xBCgen...\"/></Var>"
         "<Var Tag=\"Shuffle\"><String Lang=\"de\" Text=\"Zuf\xC3\xA4llige Wiedergabe\"/></Var>"
         "<Var Tag=\"Remove\"><String Lang=\"de\" Text=\"Entfernen\"/></Var>"
         "<Var Tag=\"" +
         longKey +
         "\"><String Lang=\"de\" Text=\"Lang\"/></Var>"
         "<Var Tag=\"\"><String Lang=\"de\" Text=\"\"/></Var></TextBlock></Root>\r\n";
}

std::u16string TextOf(HWND window) {
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), text.size())));
  return U16(text);
}

INT_PTR CALLBACK NoDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(TranslateWindow, TranslatesADialogsDirectChildrenInTemplateOrder) {
  fakes::FakeResources resources;
  resources.Put(kCatalogResourceId, kRtRcdata, Catalog(std::string(1022, 'x')));
  RecordingWindows windows;
  fakes::FakeSystem system;

  const HWND dialog = CreateDialogParamW(
      GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TRANSLATE_TEST), nullptr, NoDialogProc, 0);
  ASSERT_NE(dialog, nullptr) << GetLastError();
  const int ids[] = {IDC_TT_ADD,   IDC_TT_LABEL, IDC_TT_CONTAINER,
                     IDC_TT_EMPTY, IDC_TT_LONG,  IDC_TT_REMOVE};
  std::vector<WindowHandle> expectedReads = {reinterpret_cast<WindowHandle>(dialog)};
  for (int id : ids)
    expectedReads.push_back(reinterpret_cast<WindowHandle>(GetDlgItem(dialog, id)));

  const HWND container = GetDlgItem(dialog, IDC_TT_CONTAINER);
  const HWND nested = CreateWindowExW(0, L"STATIC", L"Remove", WS_CHILD, 5, 5, 60, 10, container,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(nested, nullptr);
  const HWND longText = GetDlgItem(dialog, IDC_TT_LONG);
  ASSERT_TRUE(SetWindowTextW(longText, std::wstring(1100, L'x').c_str()));
  ASSERT_EQ(GetWindowTextLengthW(longText), 1100);

  TextCatalog catalog = TextCatalog::Load(resources, system, "", kCatalogResourceId);
  ASSERT_TRUE(catalog.SelectLanguage(u"de"));
  catalog.TranslateWindow(windows, reinterpret_cast<WindowHandle>(dialog));

  EXPECT_EQ(windows.reads, expectedReads);
  EXPECT_EQ(TextOf(dialog), u"Playliste");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_TT_ADD)), u"Hinzuf\u00fcgen...");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_TT_LABEL)), u"Music volume: 100%");
  EXPECT_EQ(TextOf(container), u"Zuf\u00e4llige Wiedergabe");
  EXPECT_EQ(TextOf(nested), u"Remove");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_TT_EMPTY)), u"");
  EXPECT_EQ(TextOf(longText), u"Lang");
  EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_TT_REMOVE)), u"Entfernen");

  DestroyWindow(dialog);
}

}  // namespace
}  // namespace glimmer::win32
