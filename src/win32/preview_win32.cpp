#include "win32/preview_win32.h"

#include <cstring>

#include "win32/system_dlls.h"
#include "win32/wide.h"

namespace glimmer::win32 {

static_assert(kPreviewClassStyle == (CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS));
static_assert(kPreviewClassStyle == 0xB);
static_assert(kPreviewBackgroundColour == COLOR_WINDOW + 1);
static_assert(kPreviewChildStyle == (WS_CHILD | WS_VISIBLE));
static_assert(kPreviewChildStyle == 0x50000000);

namespace {

// Private to this program; no other window class is looked up by it.
constexpr wchar_t kClassName[] = L"Glimmerdale.PreviewWindow";

struct GlobalFreer {
  void operator()(HGLOBAL block) const { GlobalFree(block); }
};
using OwnedGlobal = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, GlobalFreer>;

HINSTANCE ProgramInstance() { return GetModuleHandleW(nullptr); }

Rect FromRECT(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

CPreviewWnd::~CPreviewWnd() {
  // Only reached with a live window when the loop never ran (tests, failures):
  // detach first so its WM_DESTROY posts no quit message for someone else's loop.
  if (window_ != nullptr && IsWindow(window_)) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

bool CPreviewWnd::EnsureWindowClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(ProgramInstance(), kClassName, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = kPreviewClassStyle;
  windowClass.lpfnWndProc = &CPreviewWnd::WindowProc;
  windowClass.hInstance = ProgramInstance();
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kPreviewCursorId));
  windowClass.hbrBackground =
      reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(kPreviewBackgroundColour));
  windowClass.lpszClassName = kClassName;
  return RegisterClassExW(&windowClass) != 0;
}

HWND CPreviewWnd::Create(HWND parent, const Placement& placement) {
  const bool classReady = EnsureWindowClass();
  HWND created = nullptr;
  if (classReady) {
    // this reaches the window procedure with WM_NCCREATE, before any other message.
    created = CreateWindowExW(0, kClassName, L"", kPreviewChildStyle, placement.x, placement.y,
                              placement.width, placement.height, parent, nullptr, ProgramInstance(),
                              this);
  }
  lifecycle_.Created(classReady, created != nullptr);
  return created;
}

HRESULT CPreviewWnd::LoadPreviewPicture(WORD id) {
  const HMODULE module = resources_ != nullptr ? resources_ : GetModuleHandleW(nullptr);
  HRESULT result = E_FAIL;
  const HRSRC found =
      FindResourceW(module, MAKEINTRESOURCEW(id), Wide(kPreviewPictureType).c_str());
  const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  // A loaded resource stays mapped with its module; there is nothing to free.
  if (bytes != nullptr) result = LoadPicture(bytes, SizeofResource(module, found));
  lifecycle_.PictureLoaded(SUCCEEDED(result));
  return result;
}

HRESULT CPreviewWnd::LoadPicture(const void* bytes, DWORD size) {
  // The stream takes a movable block of its own, freed when the stream goes.
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, size));
  if (!block) return E_FAIL;
  void* target = GlobalLock(block.get());
  if (target == nullptr) return E_FAIL;  // also a zero-sized block: nothing to decode
  std::memcpy(target, bytes, size);
  GlobalUnlock(block.get());

  IStream* rawStream = nullptr;
  constexpr LazyEntry<decltype(&::CreateStreamOnHGlobal)> createStream{SystemDll::Ole32,
                                                                       "CreateStreamOnHGlobal"};
  const HRESULT created = createStream.CallOr(E_FAIL, block.get(), TRUE, &rawStream);
  if (FAILED(created)) return created;
  block.release();
  ComPtr<IStream> stream(rawStream);

  IPicture* rawPicture = nullptr;
  constexpr LazyEntry<decltype(&::OleLoadPicture)> loadPicture{SystemDll::OleAut32,
                                                               "OleLoadPicture"};
  const HRESULT decoded =
      loadPicture.CallOr(E_FAIL, stream.get(), static_cast<LONG>(size), FALSE, __uuidof(IPicture),
                         reinterpret_cast<void**>(&rawPicture));
  ComPtr<IPicture> picture(rawPicture);
  stream.reset();
  if (FAILED(decoded) || !picture) return E_FAIL;

  picture_ = std::move(picture);
  pictureWidth_ = 0;
  pictureHeight_ = 0;
  picture_->get_Width(&pictureWidth_);
  picture_->get_Height(&pictureHeight_);
  return S_OK;
}

void CPreviewWnd::Paint(HDC dc, const RECT& client) const {
  if (!picture_) return;
  const PictureRender render = StretchPictureOver(FromRECT(client), pictureWidth_, pictureHeight_);
  picture_->Render(dc, render.x, render.y, render.width, render.height, render.sourceX,
                   render.sourceY, render.sourceWidth, render.sourceHeight, nullptr);
}

LRESULT CALLBACK CPreviewWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created =
        static_cast<CPreviewWnd*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    created->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
  }
  auto* self = reinterpret_cast<CPreviewWnd*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    switch (message) {
      case WM_PAINT:
        return self->OnPaint();
      case WM_DESTROY:
        return self->OnDestroy();
      case WM_NCDESTROY:
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        break;
      default:
        break;
    }
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CPreviewWnd::OnPaint() {
  // The background was erased with the class brush; the picture goes over it.
  PAINTSTRUCT paint{};
  const HDC dc = BeginPaint(window_, &paint);
  RECT client{};
  GetClientRect(window_, &client);
  if (dc != nullptr) Paint(dc, client);
  EndPaint(window_, &paint);
  return 1;
}

LRESULT CPreviewWnd::OnDestroy() {
  if (lifecycle_.Destroyed()) PostQuitMessage(0);
  return 1;
}

void RunPreview(WindowPort& windows, HWND parent) {
  // Before the box's rectangle is read, so that it is in the box's
  // coordinates, and until the loop has ended.
  const BoxDpiScope dpi(windows, reinterpret_cast<WindowHandle>(parent));
  // A bad parent leaves the rectangle empty; creating the child then fails
  // and ends the mode, so the read's own result does not matter.
  RECT client{};
  GetClientRect(parent, &client);
  AdjustWindowRect(&client, kPreviewChildStyle, FALSE);

  CPreviewWnd preview;
  preview.Create(parent, PreviewChildPlacement(FromRECT(client)));
  if (!preview.Lifecycle().WaitsForDestroy()) return;
  // Without a picture the window still shows its background until destroyed.
  preview.LoadPreviewPicture(kPreviewPictureId);
  ShowWindow(preview.Handle(), SW_SHOW);

  MSG message{};
  for (;;) {
    switch (AfterFetch(GetMessageW(&message, nullptr, 0, 0))) {
      case FetchOutcome::Quit:
        return;
      case FetchOutcome::FetchAgain:
        continue;
      case FetchOutcome::Dispatch:
        TranslateMessage(&message);
        DispatchMessageW(&message);
        break;
    }
  }
}

}  // namespace glimmer::win32
