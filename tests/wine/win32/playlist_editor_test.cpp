// The playlist editor as the shell carries it: template 162 of the built
// Glimmerdale.scr, item by item, and the editor run modally on a thread of its
// own, looked at and closed from the test's thread.
// clang-format off
#include "win32/playlist_dialog_win32.h"  // <windows.h>, which <commctrl.h> needs
#include <commctrl.h>
// clang-format on

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/fake_elevation.h"
#include "i18n/text_catalog.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "platform/text.h"
#include "playlist/playlist_dialog.h"
#include "resource_ids.h"
#include "win32/file_win32.h"
#include "win32/registry_win32.h"
#include "win32/resources_win32.h"
#include "win32/system_win32.h"
#include "win32/wide.h"
#include "win32/windows_win32.h"

namespace glimmer::win32 {
namespace {

using namespace std::chrono_literals;

std::wstring BesideThisProgram(const wchar_t* name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

HMODULE Shell() {
  static const HMODULE shell =
      LoadLibraryExW(BesideThisProgram(L"Glimmerdale.scr").c_str(), nullptr,
                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  return shell;
}

// Reads a DLGTEMPLATEEX as the dialog manager does.
class TemplateReader {
 public:
  TemplateReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  template <typename T>
  T Next() {
    T value{};
    if (position_ + sizeof(T) > size_) {
      ADD_FAILURE() << "template ends early at " << position_;
      return value;
    }
    std::memcpy(&value, data_ + position_, sizeof(T));
    position_ += sizeof(T);
    return value;
  }
  // A string, or "#n" for an ordinal, or "" for none.
  std::u16string NameOrOrdinal() {
    const auto first = Next<std::uint16_t>();
    if (first == 0) return u"";
    if (first == 0xFFFF) return u"#" + AsciiNumber(Next<std::uint16_t>());
    std::u16string text(1, static_cast<char16_t>(first));
    for (char16_t unit = Next<char16_t>(); unit != 0 && position_ < size_; unit = Next<char16_t>())
      text.push_back(unit);
    return text;
  }
  void AlignTo4() { position_ = (position_ + 3) & ~std::size_t{3}; }

 private:
  static std::u16string AsciiNumber(unsigned value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
  }
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

std::u16string ToUpper(std::u16string text) {
  for (char16_t& unit : text)
    if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
  return text;
}

struct Item {
  std::u16string className;
  std::u16string text;
  std::uint32_t id;
  std::int16_t x, y, cx, cy;
  std::uint32_t style;
  std::uint32_t exStyle;
};

TEST(PlaylistTemplate, Template162IsTheEditorsTable) {
  ASSERT_NE(Shell(), nullptr) << GetLastError();
  const HRSRC found = FindResourceW(Shell(), MAKEINTRESOURCEW(IDD_PLAYLIST), RT_DIALOG);
  ASSERT_NE(found, nullptr);
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(Shell(), found)));
  TemplateReader in(data, SizeofResource(Shell(), found));

  EXPECT_EQ(in.Next<std::uint16_t>(), 1u) << "DLGTEMPLATEEX";
  EXPECT_EQ(in.Next<std::uint16_t>(), 0xFFFFu);
  in.Next<std::uint32_t>();  // help id
  EXPECT_EQ(in.Next<std::uint32_t>(), static_cast<std::uint32_t>(WS_EX_TOOLWINDOW));
  EXPECT_EQ(in.Next<std::uint32_t>(),
            static_cast<std::uint32_t>(DS_SETFONT | DS_MODALFRAME | DS_CENTER | WS_POPUP |
                                       WS_CAPTION | WS_SYSMENU));
  const auto count = in.Next<std::uint16_t>();
  const std::int16_t frame[4] = {in.Next<std::int16_t>(), in.Next<std::int16_t>(),
                                 in.Next<std::int16_t>(), in.Next<std::int16_t>()};
  EXPECT_EQ(frame[2], 246) << "the group box and 7 units of margin";
  EXPECT_EQ(frame[3], 216) << "the buttons and 7 units of margin";
  EXPECT_EQ(in.NameOrOrdinal(), u"") << "no menu";
  EXPECT_EQ(in.NameOrOrdinal(), u"") << "the dialog class";
  EXPECT_EQ(in.NameOrOrdinal(), u"Playlist");
  EXPECT_EQ(in.Next<std::uint16_t>(), 8u) << "point size";
  in.Next<std::uint16_t>();  // weight
  in.Next<std::uint8_t>();   // italic
  in.Next<std::uint8_t>();   // character set
  EXPECT_EQ(in.NameOrOrdinal(), u"MS Shell Dlg");

  constexpr std::uint32_t kChild = WS_CHILD | WS_VISIBLE;
  constexpr std::uint32_t kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
  const Item expected[] = {
      {u"#128", u"OK", IDOK, 68, 195, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
      {u"#128", u"Cancel", IDCANCEL, 127, 195, 50, 14, kButton, 0},
      {u"SysListView32", u"", IDC_PLAYLIST_LIST, 14, 16, 218, 148,
       kChild | WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER |
           LVS_NOSORTHEADER,
       0},
      {u"#128", u"Add...", IDC_PLAYLIST_ADD, 14, 170, 54, 12, kButton, 0},
      {u"#128", u"Remove", IDC_PLAYLIST_REMOVE, 72, 170, 54, 12, kButton, 0},
      {u"#128", u"", 0xFFFFFFFFu, 7, 7, 232, 182, kChild | BS_GROUPBOX, 0},
      {u"#128", u"Shuffle", IDC_SHUFFLE, 150, 171, 80, 10, kChild | WS_TABSTOP | BS_AUTOCHECKBOX,
       0},
  };
  ASSERT_EQ(count, std::size(expected));
  for (const Item& want : expected) {
    in.AlignTo4();
    Item got{};
    in.Next<std::uint32_t>();  // help id
    got.exStyle = in.Next<std::uint32_t>();
    got.style = in.Next<std::uint32_t>();
    got.x = in.Next<std::int16_t>();
    got.y = in.Next<std::int16_t>();
    got.cx = in.Next<std::int16_t>();
    got.cy = in.Next<std::int16_t>();
    got.id = in.Next<std::uint32_t>();
    got.className = in.NameOrOrdinal();
    got.text = in.NameOrOrdinal();
    const auto extra = in.Next<std::uint16_t>();
    for (int i = 0; i < extra; ++i) in.Next<std::uint8_t>();

    const std::string name = ToUtf8(want.text) + " (" + std::to_string(want.id) + ")";
    // The resource compiler writes class names in upper case; Windows ignores case there.
    EXPECT_EQ(ToUpper(got.className), ToUpper(want.className)) << name;
    EXPECT_EQ(got.text, want.text) << name;
    EXPECT_EQ(got.id, want.id) << name;
    EXPECT_EQ((std::vector<int>{got.x, got.y, got.cx, got.cy}),
              (std::vector<int>{want.x, want.y, want.cx, want.cy}))
        << name;
    EXPECT_EQ(got.style, want.style) << name << std::hex << " style " << got.style;
    EXPECT_EQ(got.exStyle, want.exStyle) << name;
  }
}

struct DialogSearch {
  int controlId;
  HWND owner;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<DialogSearch*>(context);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (process != GetCurrentProcessId() || std::wstring(className) != L"#32770" ||
      !IsWindowVisible(window) || GetDlgItem(window, search.controlId) == nullptr ||
      (search.owner && GetWindow(window, GW_OWNER) != search.owner))
    return TRUE;
  search.found = window;
  return FALSE;
}

// A dialog of this process that is up, told apart by one of its control ids
// and, when given, by its owner.
HWND FindDialogWith(int controlId, HWND owner = nullptr) {
  DialogSearch search{controlId, owner};
  EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialogWith(int controlId, HWND owner = nullptr) {
  for (int i = 0; i < 400; ++i) {
    if (const HWND found = FindDialogWith(controlId, owner)) return found;
    std::this_thread::sleep_for(25ms);
  }
  return nullptr;
}

std::u16string TextOf(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return AsU16(text);
}

// The registry, failing every value write as a user without rights to
// HKEY_LOCAL_MACHINE would see it.
class ReadOnlyRegistry final : public RegistryPort {
 public:
  long OpenKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
               RegKey& key) override {
    return real_.OpenKey(parent, subKey, access, key);
  }
  long CreateKey(RegKey parent, std::u16string_view subKey, std::uint32_t access,
                 RegKey& key) override {
    return real_.CreateKey(parent, subKey, access, key);
  }
  long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override {
    return real_.QueryValue(key, name, type, data, size);
  }
  long QueryInfoKey(RegKey key, char16_t* className, std::uint32_t* classCapacity,
                    std::uint32_t* valueCount) override {
    return real_.QueryInfoKey(key, className, classCapacity, valueCount);
  }
  long EnumKey(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t capacity) override {
    return real_.EnumKey(key, index, name, capacity);
  }
  long EnumValue(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t* nameLength,
                 std::uint32_t* type, std::uint8_t* data, std::uint32_t* dataSize) override {
    return real_.EnumValue(key, index, name, nameLength, type, data, dataSize);
  }
  long SetValue(RegKey, std::u16string_view, std::uint32_t, const std::uint8_t*,
                std::uint32_t) override {
    return kErrorAccessDenied;
  }
  long FlushKey(RegKey key) override { return real_.FlushKey(key); }
  long CloseKey(RegKey key) override { return real_.CloseKey(key); }
  long DeleteTree(RegKey parent, std::u16string_view subKey, std::uint32_t viewFlags) override {
    return real_.DeleteTree(parent, subKey, viewFlags);
  }

 private:
  Win32Registry real_;
};

constexpr int kMessageText = 0xFFFF;  // the static that holds a message box's text

fakes::FakeElevation Declining(fakes::FakeProcesses& processes) {
  fakes::FakeElevation elevation(processes);
  elevation.runAsResult = kErrorCancelled;
  return elevation;
}

// The editor on a thread of its own, owned by a window of that thread, with
// the Win32 ports and the shell's catalogue in French.
class PlaylistEditorRun : public ::testing::Test {
 protected:
  PlaylistEditorRun() : resources_(Shell()) {}
  void SetUp() override {
    ASSERT_NE(Shell(), nullptr);
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = std::wstring(temp) + L"glimmerdale-editor-test\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    for (const wchar_t* name : {L"a.mp3", L"b.mp3"}) {
      const HANDLE file = CreateFileW((folder_ + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
      CloseHandle(file);
    }
    catalog_ = TextCatalog::Load(resources_, system_, "", kCatalogResourceId);
    ASSERT_TRUE(catalog_.SelectLanguage(u"fr"));
  }
  void TearDown() override {
    if (thread_.joinable()) {
      if (IsWindow(dialog_)) PostMessageW(dialog_, WM_CLOSE, 0, 0);
      thread_.join();
    }
    for (const wchar_t* name : {L"a.mp3", L"b.mp3"}) DeleteFileW((folder_ + name).c_str());
    RemoveDirectoryW(folder_.c_str());
    Win32Registry().DeleteTree(kHkeyLocalMachine, kSettingsKey, 0);
  }

  std::u16string Path(const wchar_t* name) const { return U16(folder_ + name); }

  // The editor with its registry writes failing or not.
  void Start(bool readOnly = false) {
    settings_.emplace();
    (*settings_)[keys::kShufflePlayList] = std::int32_t{1};
    thread_ = std::thread([this, readOnly] {
      owner_ = CreateWindowExW(0, L"STATIC", L"Owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
      SetActiveWindow(owner_);
      RunPlaylistEditor(Shell(), *settings_, catalog_,
                        {.registry = readOnly ? static_cast<RegistryPort&>(readOnlyRegistry_)
                                              : static_cast<RegistryPort&>(registry_),
                         .system = system_,
                         .files = files_,
                         .windows = windows_,
                         .ui = ui_,
                         // The elevated instance would be this test program:
                         // a declined prompt stands in for it.
                         .elevation = declinedElevation_,
                         .processes = fakeProcesses_});
      DestroyWindow(owner_);
    });
    dialog_ = WaitForDialogWith(IDC_PLAYLIST_LIST);
    ASSERT_NE(dialog_, nullptr) << "the editor did not open";
  }
  bool Ended() {
    for (int i = 0; i < 400 && IsWindow(dialog_); ++i) std::this_thread::sleep_for(25ms);
    if (IsWindow(dialog_)) return false;
    thread_.join();
    return true;
  }
  std::vector<std::u16string> Items() const {
    const HWND list = GetDlgItem(dialog_, IDC_PLAYLIST_LIST);
    std::vector<std::u16string> texts;
    for (int i = 0; i < ListView_GetItemCount(list); ++i) {
      wchar_t text[1024] = {};
      ListView_GetItemText(list, i, 0, text, 1024);
      texts.push_back(AsU16(text));
    }
    return texts;
  }

  Win32Registry registry_;
  ReadOnlyRegistry readOnlyRegistry_;
  Win32System system_;
  Win32Ui ui_;
  Win32Windows windows_;
  Win32Resources resources_;
  Win32Files files_;
  fakes::FakeProcesses fakeProcesses_;
  fakes::FakeElevation declinedElevation_ = Declining(fakeProcesses_);
  TextCatalog catalog_;
  std::optional<Node> settings_;
  std::wstring folder_;
  std::thread thread_;
  HWND owner_ = nullptr;
  HWND dialog_ = nullptr;
};

TEST_F(PlaylistEditorRun, OpensTranslatedWithTheSavedListAndEndsOnClose) {
  const std::u16string saved =
      Path(L"b.mp3") + u"\n" + Path(L"gone.mp3") + u"\n" + Path(L"a.mp3") + u"\n";
  ASSERT_EQ(WriteRegistryString(registry_, system_, kHkeyLocalMachine, kSettingsKey, kPlayListValue,
                                saved, true),
            kSOk);

  Start();
  EXPECT_EQ(GetWindow(dialog_, GW_OWNER), owner_) << "owned by the active window";
  EXPECT_TRUE(GetWindowLongW(dialog_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  struct Text {
    int id;
    std::u16string text;
  };
  const Text texts[] = {{IDOK, u"OK"},
                        {IDCANCEL, u"Annuler"},
                        {IDC_PLAYLIST_ADD, u"Ajouter..."},
                        {IDC_PLAYLIST_REMOVE, u"Retirer"},
                        {IDC_SHUFFLE, u"Ordre al\u00E9atoire"}};
  EXPECT_EQ(TextOf(dialog_), u"Liste");
  for (const Text& t : texts) EXPECT_EQ(TextOf(GetDlgItem(dialog_, t.id)), t.text) << t.id;
  EXPECT_EQ(Items(), (std::vector<std::u16string>{Path(L"b.mp3"), Path(L"a.mp3")}));
  EXPECT_EQ(SendDlgItemMessageW(dialog_, IDC_SHUFFLE, BM_GETCHECK, 0, 0), BST_CHECKED);

  const HWND list = GetDlgItem(dialog_, IDC_PLAYLIST_LIST);
  const std::wstring header = L"FileName" + std::wstring(98, L' ');
  EXPECT_EQ(
      ListView_GetColumnWidth(list, 0),
      SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(header.c_str())) + 15);
  EXPECT_TRUE(GetWindowLongW(list, GWL_STYLE) & LVS_NOCOLUMNHEADER);

  PostMessageW(dialog_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Ended());
  std::u16string after;
  ReadRegistryString(registry_, system_, kHkeyLocalMachine, kSettingsKey, kPlayListValue, after,
                     true);
  EXPECT_EQ(after, saved) << "closing saves nothing";
}

TEST_F(PlaylistEditorRun, AFailedSaveIsShownOverTheEditorThenItEnds) {
  Start(/*readOnly=*/true);
  PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const HWND box = WaitForDialogWith(kMessageText, dialog_);
  ASSERT_NE(box, nullptr) << "no message box over the editor";
  EXPECT_EQ(TextOf(box), u"Erreur!");
  EXPECT_TRUE(TextOf(GetDlgItem(box, kMessageText)).starts_with(u"Erreur d\u2019\u00E9criture"))
      << ToUtf8(TextOf(GetDlgItem(box, kMessageText)));
  EXPECT_TRUE(IsWindow(dialog_)) << "the editor waits for the box";
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_TRUE(Ended());
  EXPECT_EQ((*settings_)[keys::kShufflePlayList].AsInt(), 1);
}

}  // namespace
}  // namespace glimmer::win32
