#include "driver/preview_box.h"

#include <algorithm>
#include <cstdio>

#include "win32/preview_win32.h"

namespace glimmer::driver {
namespace {

using Clock = std::chrono::steady_clock;

constexpr wchar_t kBoxClass[] = L"GlimmerdaleDriverPreviewBox";
constexpr wchar_t kPictureType[] = L"JPEGFILE";
constexpr WORD kPictureId = 150;

constexpr wchar_t kDestroyOnChild[] = L"GlimmerdaleDestroyOnChild";

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE &&
      GetPropW(window, kDestroyOnChild) != nullptr) {
    RemovePropW(window, kDestroyOnChild);
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_NCDESTROY) RemovePropW(window, kDestroyOnChild);
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterBoxClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kBoxClass, &existing)) return true;
  WNDCLASSEXW box{};
  box.cbSize = sizeof(box);
  box.lpfnWndProc = BoxProc;
  box.hInstance = GetModuleHandleW(nullptr);
  box.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  box.lpszClassName = kBoxClass;
  return RegisterClassExW(&box) != 0;
}

// Handles are sign-extended 32-bit values; the command line carries the low half.
std::wstring NumberOf(HWND window) {
  return std::to_wstring(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(window)));
}

// A resource's type or name: a number or a text.
struct ResourceName {
  WORD id = 0;
  std::wstring text;
  explicit ResourceName(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
      id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
    } else {
      text = name;
    }
  }
  LPCWSTR Get() const { return text.empty() ? MAKEINTRESOURCEW(id) : text.c_str(); }
};

struct Resource {
  ResourceName type;
  ResourceName name;
  WORD language;
  std::string bytes;
};

BOOL CALLBACK CollectLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language,
                              LONG_PTR resources) {
  const HRSRC found = FindResourceExW(module, type, name, language);
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (loaded == nullptr) return FALSE;
  reinterpret_cast<std::vector<Resource>*>(resources)->push_back(
      {ResourceName(type), ResourceName(name), language,
       std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found))});
  return TRUE;
}

BOOL CALLBACK CollectName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR resources) {
  return EnumResourceLanguagesW(module, type, name, CollectLanguage, resources);
}

BOOL CALLBACK CollectType(HMODULE module, LPWSTR type, LONG_PTR resources) {
  return EnumResourceNamesW(module, type, CollectName, resources);
}

std::vector<Resource> ResourcesOf(const std::wstring& path) {
  std::vector<Resource> resources;
  if (const HMODULE image = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
    EnumResourceTypesW(image, CollectType, reinterpret_cast<LONG_PTR>(&resources));
    FreeLibrary(image);
  }
  return resources;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

PreviewBox::PreviewBox(int clientWidth, int clientHeight) {
  if (!RegisterBoxClass()) return;
  // A popup without a frame: its client area is the whole window.
  window_ =
      CreateWindowExW(0, kBoxClass, L"Preview box", WS_POPUP | WS_VISIBLE, 40, 40, clientWidth,
                      clientHeight, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

PreviewBox::PreviewBox(int clientWidth, int clientHeight, HWND parent, int x, int y) {
  if (!RegisterBoxClass()) return;
  window_ = CreateWindowExW(0, kBoxClass, L"Preview box", WS_CHILD | WS_VISIBLE, x, y, clientWidth,
                            clientHeight, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

PreviewBox::~PreviewBox() { Destroy(); }

std::wstring PreviewBox::Number() const { return NumberOf(window_); }

RECT PreviewBox::ClientRect() const {
  RECT client{};
  GetClientRect(window_, &client);
  return client;
}

bool PreviewBox::ResizeClient(int clientWidth, int clientHeight) {
  return SetWindowPos(window_, nullptr, 0, 0, clientWidth, clientHeight,
                      SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

void PreviewBox::Destroy() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}

void PreviewBox::DestroyWhenAChildIsCreated() {
  SetPropW(window_, kDestroyOnChild, reinterpret_cast<HANDLE>(1));
}

std::vector<HWND> PreviewBox::Children() const {
  std::vector<HWND> children;
  if (window_ == nullptr) return children;
  for (HWND child = GetWindow(window_, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

HWND PreviewBox::ShownChild() const {
  const HWND child = window_ != nullptr ? GetWindow(window_, GW_CHILD) : nullptr;
  return child != nullptr && IsWindowVisible(child) ? child : nullptr;
}

bool PreviewBox::PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (done()) return true;
    if (Clock::now() >= deadline) return false;
    // Sent messages from the shell's thread are handled inside the wait.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

std::optional<DWORD> PreviewBox::PumpUntilExit(HANDLE process, std::chrono::milliseconds limit) {
  const auto deadline = Clock::now() + limit;
  for (;;) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    const DWORD wait = left.count() > 0 ? static_cast<DWORD>(left.count()) : 0;
    const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, wait, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0) {
      DWORD code = STILL_ACTIVE;
      GetExitCodeProcess(process, &code);
      return code;
    }
    if (woke == WAIT_TIMEOUT || woke == WAIT_FAILED) return std::nullopt;
  }
}

std::vector<COLORREF> CaptureClient(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = client.right;
  info.bmiHeader.biHeight = -client.bottom;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<COLORREF> pixels;
  const HDC memory = CreateCompatibleDC(nullptr);
  std::uint32_t* bits = nullptr;
  const HBITMAP bitmap =
      CreateDIBSection(memory, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
  if (bitmap != nullptr) {
    const HGDIOBJ old = SelectObject(memory, bitmap);
    const HDC screen = GetDC(window);
    BitBlt(memory, 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    GdiFlush();
    for (LONG i = 0; i < client.right * client.bottom; ++i)  // 0x00RRGGBB in a DIB
      pixels.push_back(RGB((bits[i] >> 16) & 0xFF, (bits[i] >> 8) & 0xFF, bits[i] & 0xFF));
    SelectObject(memory, old);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  return pixels;
}

std::wstring StaleWindowNumber() {
  PreviewBox gone(10, 10);
  const std::wstring number = gone.Number();
  gone.Destroy();
  return number;
}

bool CopyWithPreviewPicture(const std::wstring& from, const std::wstring& to,
                            const std::optional<std::string>& bytes) {
  std::vector<Resource> resources = ResourcesOf(from);
  if (resources.empty() || !CopyOver(from, to)) return false;
  // Wine keeps a resource that UpdateResourceW is asked to delete, so the
  // copy is given all of the shell's resources anew, the picture changed.
  const HANDLE update = BeginUpdateResourceW(to.c_str(), TRUE);
  if (update == nullptr) return false;
  bool updated = true;
  for (Resource& resource : resources) {
    if (resource.type.text == kPictureType && resource.name.id == kPictureId) {
      if (!bytes) continue;
      resource.bytes = *bytes;
    }
    updated = updated &&
              UpdateResourceW(update, resource.type.Get(), resource.name.Get(), resource.language,
                              resource.bytes.data(), static_cast<DWORD>(resource.bytes.size()));
  }
  return EndUpdateResourceW(update, !updated) && updated;
}

int PreviewMain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: driver preview PROGRAM [WIDTH HEIGHT [RUNS]]\n");
    return 2;
  }
  const int width = argc > 4 ? _wtoi(argv[3]) : 152;
  const int height = argc > 4 ? _wtoi(argv[4]) : 112;
  const int runs = argc > 5 ? std::max(1, _wtoi(argv[5])) : 1;
  std::vector<double> appeared;
  std::vector<double> ended;
  for (int run = 0; run < runs; ++run) {
    PreviewBox box(width, height);
    const auto start = Clock::now();
    StartedProcess shell = StartProcess(argv[2], L"/p " + box.Number());
    if (!shell.process) {
      std::printf("not started\n");
      return 1;
    }
    const bool child =
        box.PumpUntil([&] { return box.ShownChild() != nullptr; }, std::chrono::seconds(30));
    const auto shown = Clock::now();
    box.Destroy();
    const std::optional<DWORD> code =
        box.PumpUntilExit(shell.process.get(), std::chrono::seconds(10));
    if (!child || !code) {
      std::printf(child ? "still running after the box was destroyed\n" : "no child window\n");
      TerminateProcess(shell.process.get(), 255);
      return 1;
    }
    appeared.push_back(Milliseconds(shown - start));
    ended.push_back(Milliseconds(Clock::now() - shown));
    std::printf("run %d: child after %.0f ms, exit %lu after %.0f ms\n", run + 1, appeared.back(),
                static_cast<unsigned long>(*code), ended.back());
  }
  std::printf("median: child after %.0f ms, exit after %.0f ms\n", Median(appeared), Median(ended));
  return 0;
}

int ShowPreviewMain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: driver show-preview PROGRAM [SECONDS]\n");
    return 2;
  }
  const int seconds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 0;  // 0: until closed
  constexpr int kWidth = 152, kHeight = 112, kMargin = 24;
  // A plain frame around the box, grey as the control panel's page.
  WNDCLASSEXW frameClass{};
  frameClass.cbSize = sizeof(frameClass);
  frameClass.lpfnWndProc = DefWindowProcW;
  frameClass.hInstance = GetModuleHandleW(nullptr);
  frameClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  frameClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  frameClass.lpszClassName = L"GlimmerdaleDriverPreviewFrame";
  RegisterClassExW(&frameClass);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  RECT outer{0, 0, kWidth + 2 * kMargin, kHeight + 2 * kMargin};
  AdjustWindowRect(&outer, kStyle, FALSE);
  const HWND frame = CreateWindowExW(0, frameClass.lpszClassName, L"Screen saver preview", kStyle,
                                     80, 80, outer.right - outer.left, outer.bottom - outer.top,
                                     nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  PreviewBox box(kWidth, kHeight, frame, kMargin, kMargin);
  if (frame == nullptr || box.Handle() == nullptr) {
    std::printf("no preview window\n");
    return 1;
  }
  StartedProcess shell = StartProcess(argv[2], L"/p " + box.Number());
  if (!shell.process) {
    std::printf("not started\n");
    DestroyWindow(frame);
    return 1;
  }
  // Wine gives a child window in another process's window no pixels of its
  // own, so over the shell's child goes a copy of it made here: the shell's
  // own preview code, with the picture read from the shell's file.
  std::unique_ptr<win32::CPreviewWnd> copy;
  const HMODULE resources =
      LoadLibraryExW(argv[2], nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (box.PumpUntil([&] { return box.ShownChild() != nullptr; }, std::chrono::seconds(30)) &&
      resources != nullptr && SUCCEEDED(CoInitialize(nullptr))) {
    RECT child{};
    GetWindowRect(box.ShownChild(), &child);
    MapWindowPoints(nullptr, box.Handle(), reinterpret_cast<POINT*>(&child), 2);
    copy = std::make_unique<win32::CPreviewWnd>(resources);
    if (copy->Create(box.Handle(), {child.left, child.top, child.right - child.left,
                                    child.bottom - child.top}) != nullptr) {
      copy->LoadPreviewPicture(kPreviewPictureId);
      SetWindowPos(copy->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    }
  } else {
    std::printf("no child window\n");
  }
  // Until the frame is closed (its box goes with it), or the time is up.
  const auto limit = seconds > 0 ? std::chrono::milliseconds(seconds * 1000)
                                 : std::chrono::milliseconds(std::chrono::hours(24));
  box.PumpUntil([&] { return !IsWindow(frame); }, limit);
  if (IsWindow(frame)) DestroyWindow(frame);
  const std::optional<DWORD> code =
      box.PumpUntilExit(shell.process.get(), std::chrono::seconds(10));
  if (!code) {
    std::printf("the shell still ran after its box was gone\n");
    TerminateProcess(shell.process.get(), 255);
    return 1;
  }
  std::printf("the shell ended with code %lu\n", static_cast<unsigned long>(*code));
  copy.reset();
  if (resources != nullptr) FreeLibrary(resources);
  return 0;
}

}  // namespace glimmer::driver
