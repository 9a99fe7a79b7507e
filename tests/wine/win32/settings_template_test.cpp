// Template 2003 as the built shell carries it.
// clang-format off
#include "win32/windows_api.h"  // before <commctrl.h>, which needs it
#include <commctrl.h>
// clang-format on
#include <gtest/gtest.h>

#include "dialog_template.h"
#include "resource_ids.h"

namespace glimmer::tests {
namespace {

std::wstring BesideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

enum class Kind { Group, Check, Push, DefaultPush, RightStatic, List, SortedList, TrackBar };

struct Expected {
  int id;
  Kind kind;
  short x, y, cx, cy;
  const wchar_t* text;
  bool startsGroup = false;
};

bool IsKind(const TemplateItem& item, Kind kind) {
  const DWORD buttonType = item.style & BS_TYPEMASK;
  const DWORD comboType = item.style & 3;
  switch (kind) {
    case Kind::Group:
      return item.classAtom == 0x80 && buttonType == BS_GROUPBOX;
    case Kind::Check:
      return item.classAtom == 0x80 && buttonType == BS_AUTOCHECKBOX;
    case Kind::Push:
      return item.classAtom == 0x80 && buttonType == BS_PUSHBUTTON;
    case Kind::DefaultPush:
      return item.classAtom == 0x80 && buttonType == BS_DEFPUSHBUTTON;
    case Kind::RightStatic:
      return item.classAtom == 0x82 && (item.style & SS_TYPEMASK) == SS_RIGHT;
    case Kind::List:
      return item.classAtom == 0x85 && comboType == CBS_DROPDOWNLIST && !(item.style & CBS_SORT);
    case Kind::SortedList:
      return item.classAtom == 0x85 && comboType == CBS_DROPDOWNLIST && (item.style & CBS_SORT);
    case Kind::TrackBar:
      return _wcsicmp(item.className.c_str(), TRACKBAR_CLASSW) == 0 && (item.style & TBS_NOTICKS) &&
             !(item.style & TBS_VERT);
  }
  return false;
}

TEST(SettingsTemplate, TheShellCarriesTheDialogAsDesigned) {
  const HMODULE shell = LoadLibraryExW(BesideThisProgram(L"Glimmerdale.scr").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(shell, nullptr) << GetLastError();
  const auto dialog = ReadDialogTemplate(shell, IDD_SETTINGS);
  ASSERT_TRUE(dialog.has_value());
  EXPECT_EQ(dialog->cx, 389);
  EXPECT_EQ(dialog->cy, 253);
  EXPECT_EQ(dialog->font, L"MS Shell Dlg");
  EXPECT_EQ(dialog->title, L"Glimmerdale 3D Screensaver Configuration");
  for (DWORD style : {DWORD{DS_MODALFRAME}, DWORD{DS_CENTER}, DWORD{WS_POPUP}, DWORD{WS_CAPTION},
                      DWORD{WS_SYSMENU}})
    EXPECT_EQ(dialog->style & style, style) << std::hex << style;

  const Expected expected[] = {
      {IDC_MONITOR_GROUP, Kind::Group, 7, 3, 374, 32, L"Monitor selection"},
      {IDC_MONITOR_LIST, Kind::List, 10, 15, 199, 60, L""},
      {IDC_BLANK_SCREENS, Kind::Check, 218, 16, 160, 10, L"Show a blank screen on all monitors"},
      {-1, Kind::Group, 7, 38, 374, 42, L"Options"},
      {IDC_EXIT_ON_MOUSE_MOVE, Kind::Check, 10, 49, 110, 10, L"Exit on mouse move"},
      {IDC_ANTIALIASING, Kind::Check, 10, 64, 100, 10, L"Antialiasing"},
      {IDC_ANTIALIASING_LABEL, Kind::RightStatic, 154, 65, 89, 8, L"Antialiasing quality:"},
      {IDC_ANTIALIASING_LIST, Kind::SortedList, 249, 63, 123, 30, L""},
      {-1, Kind::Group, 7, 84, 374, 24, L"Animated wallpaper options"},
      {IDC_RUN_AT_STARTUP, Kind::Check, 10, 94, 160, 10, L"Run at Windows startup", true},
      {-1, Kind::Group, 7, 111, 374, 57, L"Sound options"},
      {IDC_ENABLE_SOUNDS, Kind::Check, 10, 122, 87, 10, L"Enable sounds", true},
      {IDC_SOUNDS_VOLUME_LABEL, Kind::RightStatic, 148, 124, 97, 8, L"Sounds volume: 100%"},
      {IDC_SOUNDS_VOLUME, Kind::TrackBar, 246, 122, 132, 12, L""},
      {IDC_ENABLE_MUSIC, Kind::Check, 10, 137, 87, 10, L"Enable music", true},
      {IDC_MUSIC_VOLUME_LABEL, Kind::RightStatic, 147, 139, 97, 8, L"Music volume: 100%"},
      {IDC_MUSIC_VOLUME, Kind::TrackBar, 245, 137, 132, 12, L""},
      {IDC_PLAY_MY_MUSIC, Kind::Check, 10, 152, 102, 10, L"Play my music"},
      {IDC_EDIT_PLAYLIST, Kind::Push, 286, 150, 86, 14, L"Edit Playlist..."},
      {-1, Kind::Group, 7, 170, 374, 24, L"Products"},
      {IDC_PRODUCTS_TEXT, Kind::RightStatic, 12, 179, 240, 8,
       L"Please take a look at our web site for more great 3D screensavers"},
      {IDC_VISIT, Kind::Push, 286, 176, 86, 14, L"Visit..."},
      {IDC_RESTORE_DEFAULTS, Kind::Push, 7, 230, 84, 15, L"Restore Defaults"},
      {IDOK, Kind::DefaultPush, 256, 230, 61, 15, L"OK"},
      {IDCANCEL, Kind::Push, 320, 230, 61, 15, L"Cancel"},
  };
  ASSERT_EQ(dialog->items.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const TemplateItem& item = dialog->items[i];
    const Expected& want = expected[i];
    SCOPED_TRACE(testing::Message() << "item " << i << " id " << want.id);
    EXPECT_EQ(static_cast<short>(item.id), want.id);
    EXPECT_TRUE(IsKind(item, want.kind)) << std::hex << item.style;
    EXPECT_EQ(item.x, want.x);
    EXPECT_EQ(item.y, want.y);
    EXPECT_EQ(item.cx, want.cx);
    EXPECT_EQ(item.cy, want.cy);
    EXPECT_EQ(item.text, want.text);
    // Statics and group boxes always start a group; among the controls the
    // keyboard reaches, exactly the three named ones do.
    if (want.kind != Kind::RightStatic && want.kind != Kind::Group) {
      EXPECT_EQ((item.style & WS_GROUP) != 0, want.startsGroup);
    }
    EXPECT_TRUE(item.style & WS_VISIBLE);
    const bool staticEdge = want.id == IDC_EDIT_PLAYLIST || want.id == IDC_VISIT;
    EXPECT_EQ((item.exStyle & WS_EX_STATICEDGE) != 0, staticEdge);
  }
  // The controls the dialog's code addresses but this product leaves out.
  for (const auto& item : dialog->items)
    for (int absent : {IDC_MODE_LIST, IDC_DESKTOP_RESOLUTION, IDC_HIGH_QUALITY_GRAPHICS,
                       IDC_HIGH_QUALITY_TEXTURES})
      EXPECT_NE(item.id, absent);
  FreeLibrary(shell);
}

}  // namespace
}  // namespace glimmer::tests
