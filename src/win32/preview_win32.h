// The preview window over User32 and OLE pictures.
#pragma once

#include <ocidl.h>
#include <olectl.h>

#include <memory>

#include "app/preview.h"
#include "win32/com_ptr.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

// The child window inside the control panel's preview box, with the decoded
// picture it stretches over its client area.
class CPreviewWnd {
 public:
  // resources: the module whose "JPEGFILE" resources are read; null for the
  // program itself. Window class and window always belong to the program.
  explicit CPreviewWnd(HMODULE resources = nullptr) : resources_(resources) {}
  CPreviewWnd(const CPreviewWnd&) = delete;
  CPreviewWnd& operator=(const CPreviewWnd&) = delete;
  ~CPreviewWnd();

  // Registers the window class unless it exists; false when that fails.
  static bool EnsureWindowClass();
  // CreateWindowExW with the preview class and styles; null on failure.
  HWND Create(HWND parent, const Placement& placement);

  // Decodes resource "JPEGFILE" id through OleLoadPicture: S_OK, or E_FAIL
  // (or the stream's error code) with no picture.
  HRESULT LoadPreviewPicture(WORD id);
  // The decoding half, from bytes already in memory.
  HRESULT LoadPicture(const void* bytes, DWORD size);

  // What WM_PAINT draws into dc over the client rectangle.
  void Paint(HDC dc, const RECT& client) const;

  HWND Handle() const { return window_; }
  bool HasPicture() const { return picture_ != nullptr; }
  // The picture's size in HIMETRIC units; 0 until loaded.
  OLE_XSIZE_HIMETRIC PictureWidth() const { return pictureWidth_; }
  OLE_YSIZE_HIMETRIC PictureHeight() const { return pictureHeight_; }
  const PreviewLifecycle& Lifecycle() const { return lifecycle_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnPaint();
  LRESULT OnDestroy();

  HMODULE resources_;
  HWND window_ = nullptr;
  ComPtr<IPicture> picture_;
  OLE_XSIZE_HIMETRIC pictureWidth_ = 0;
  OLE_YSIZE_HIMETRIC pictureHeight_ = 0;
  PreviewLifecycle lifecycle_;
};

// The preview mode: a child window covering parent's client area, the picture
// over it, and this thread's message loop until the window is destroyed, all
// in parent's DPI awareness context (BoxDpiScope), asked for through windows.
void RunPreview(WindowPort& windows, HWND parent);

}  // namespace glimmer::win32
