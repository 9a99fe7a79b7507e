// The preview window against the real platform, in this process: the picture
// stored in the built Glimmerdale.scr, how it is decoded and painted, and the
// window's class and life. Pixels are read from this process's own DCs, since
// a child in another process's window gets no drawable under Wine.
#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "beside_this_program.h"
#include "win32/preview_win32.h"
#include "win32/windows_win32.h"

namespace glimmer::win32 {
namespace {

constexpr int kPictureWidth = 152;
constexpr int kPictureHeight = 112;

struct Module {
  HMODULE handle = LoadLibraryExW(BesideThisProgram(L"Glimmerdale.scr").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  ~Module() {
    if (handle) FreeLibrary(handle);
  }
};

std::string PictureBytes(HMODULE module) {
  const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(150), L"JPEGFILE");
  const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) return {};
  return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
}

// Pixels as 0x00RRGGBB, rows top-down.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The reference: the stored picture decoded by the imaging component, not by OLE.
Image DecodeReference(const std::string& jpeg) {
  // CLSID_WICImagingFactory and GUID_WICPixelFormat32bppBGR.
  const CLSID factoryClass = {
      0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
  const GUID bgr32 = {0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0e}};
  // Each step runs only after the ones before succeeded; the owners release
  // whatever was made, in reverse order.
  IWICImagingFactory* factory = nullptr;
  HRESULT result =
      CoCreateInstance(factoryClass, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWICImagingFactory),
                       reinterpret_cast<void**>(&factory));
  const ComPtr<IWICImagingFactory> ownedFactory(factory);
  IWICStream* stream = nullptr;
  if (SUCCEEDED(result)) result = factory->CreateStream(&stream);
  const ComPtr<IWICStream> ownedStream(stream);
  if (SUCCEEDED(result))
    result = stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(jpeg.data())),
                                          static_cast<DWORD>(jpeg.size()));
  IWICBitmapDecoder* decoder = nullptr;
  if (SUCCEEDED(result))
    result =
        factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand, &decoder);
  const ComPtr<IWICBitmapDecoder> ownedDecoder(decoder);
  IWICBitmapFrameDecode* frame = nullptr;
  if (SUCCEEDED(result)) result = decoder->GetFrame(0, &frame);
  const ComPtr<IWICBitmapFrameDecode> ownedFrame(frame);
  IWICFormatConverter* converter = nullptr;
  if (SUCCEEDED(result)) result = factory->CreateFormatConverter(&converter);
  const ComPtr<IWICFormatConverter> ownedConverter(converter);
  if (SUCCEEDED(result))
    result = converter->Initialize(frame, bgr32, WICBitmapDitherTypeNone, nullptr, 0,
                                   WICBitmapPaletteTypeCustom);
  UINT width = 0;
  UINT height = 0;
  if (SUCCEEDED(result)) result = converter->GetSize(&width, &height);
  Image image{static_cast<int>(width), static_cast<int>(height),
              std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  if (SUCCEEDED(result))
    result = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(image.pixels.size() * 4),
                                   reinterpret_cast<BYTE*>(image.pixels.data()));
  if (FAILED(result)) return {};
  for (auto& pixel : image.pixels) pixel &= 0xFFFFFF;
  return image;
}

// Nearest-pixel stretch, optionally upside down: what the box must not show.
Image Stretched(const Image& source, int width, int height, bool flipped = false) {
  Image out{width, height, std::vector<std::uint32_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    const int sourceY = (2 * y + 1) * source.height / (2 * height);
    for (int x = 0; x < width; ++x)
      out.pixels[static_cast<size_t>(y) * width + x] =
          source.At((2 * x + 1) * source.width / (2 * width),
                    flipped ? source.height - 1 - sourceY : sourceY);
  }
  return out;
}

// Mean absolute difference per colour channel, 0..255.
double MeanDifference(const Image& a, const Image& b) {
  double sum = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i)
    for (int shift : {0, 8, 16})
      sum += std::abs(static_cast<int>((a.pixels[i] >> shift) & 0xFF) -
                      static_cast<int>((b.pixels[i] >> shift) & 0xFF));
  return sum / (3.0 * static_cast<double>(a.pixels.size()));
}

// A 32-bit top-down DIB section in a memory DC, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_ =
        CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, bitmap_);
    const RECT all{0, 0, width, height};
    const HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
  }
  HDC Dc() const { return dc_; }
  Image Pixels() const {
    GdiFlush();
    Image image{width_, height_, std::vector<std::uint32_t>(bits_, bits_ + width_ * height_)};
    for (auto& pixel : image.pixels) pixel &= 0xFFFFFF;
    return image;
  }

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

// COLORREF is 0x00BBGGRR, DIB pixels 0x00RRGGBB.
std::uint32_t AsPixel(COLORREF colour) {
  return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}
constexpr COLORREF kSentinel = RGB(255, 0, 255);  // nowhere in the picture

int CountPixels(const Image& image, std::uint32_t pixel) {
  int count = 0;
  for (auto value : image.pixels) count += value == pixel;
  return count;
}

// The JPEG frame header: the first start-of-frame marker and its fields.
struct Frame {
  int marker = 0;
  int precision = 0;
  int height = 0;
  int width = 0;
  int components = 0;
};

Frame FirstFrame(const std::string& jpeg) {
  const auto byte = [&](size_t i) {
    return i < jpeg.size() ? static_cast<unsigned char>(jpeg[i]) : 0;
  };
  Frame frame;
  if (byte(0) != 0xFF || byte(1) != 0xD8) return frame;
  for (size_t at = 2; at + 4 <= jpeg.size();) {
    if (byte(at) != 0xFF) return frame;
    const int marker = byte(at + 1);
    const size_t length = static_cast<size_t>(byte(at + 2) << 8 | byte(at + 3));
    // Start-of-frame markers are C0..CF except C4 (tables), C8 and CC (arithmetic).
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      return {marker, byte(at + 4), byte(at + 5) << 8 | byte(at + 6),
              byte(at + 7) << 8 | byte(at + 8), byte(at + 9)};
    }
    if (marker == 0xDA) return frame;  // scan data before any frame header
    at += 2 + length;
  }
  return frame;
}

class PreviewWindow : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_NE(shell_.handle, nullptr) << "Glimmerdale.scr not loadable, error " << GetLastError();
    jpeg_ = PictureBytes(shell_.handle);
    reference_ = DecodeReference(jpeg_);
  }
  void TearDown() override {
    MSG stray{};
    EXPECT_FALSE(PeekMessageW(&stray, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "stray quit message";
    CoUninitialize();
  }

  // A top-level window of this test with the given client size.
  static HWND MakeParent(int width, int height) {
    static const bool registered = [] {
      WNDCLASSEXW box{};
      box.cbSize = sizeof(box);
      box.lpfnWndProc = DefWindowProcW;
      box.hInstance = GetModuleHandleW(nullptr);
      box.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
      box.lpszClassName = L"PreviewTestBox";
      return RegisterClassExW(&box) != 0;
    }();
    if (!registered) return nullptr;
    return CreateWindowExW(0, L"PreviewTestBox", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20,
                           20, width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  }

  // What a window shows, read back through its DC after a full repaint.
  static Image Shown(HWND window, int width, int height) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW);
    Canvas copy(width, height, kSentinel);
    const HDC dc = GetDC(window);
    BitBlt(copy.Dc(), 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    return copy.Pixels();
  }

  Module shell_;
  std::string jpeg_;
  Image reference_;
};

TEST_F(PreviewWindow, StoredPictureIsABaselineJpegOf152By112InThreeComponents) {
  const Frame frame = FirstFrame(jpeg_);
  EXPECT_EQ(0xC0, frame.marker) << "baseline DCT";
  EXPECT_EQ(8, frame.precision);
  EXPECT_EQ(kPictureWidth, frame.width);
  EXPECT_EQ(kPictureHeight, frame.height);
  EXPECT_EQ(3, frame.components);
  EXPECT_EQ(kPictureWidth, reference_.width);
  EXPECT_EQ(kPictureHeight, reference_.height);
}

TEST_F(PreviewWindow, PictureDecodesWithItsSizeInHimetric) {
  CPreviewWnd preview(shell_.handle);
  ASSERT_EQ(S_OK, preview.LoadPreviewPicture(150));
  ASSERT_TRUE(preview.HasPicture());
  // 0.01 mm units of a 96-dpi picture, give or take the rounding.
  EXPECT_NEAR(kPictureWidth * 2540 / 96, preview.PictureWidth(), 2);
  EXPECT_NEAR(kPictureHeight * 2540 / 96, preview.PictureHeight(), 2);
  // Not created: loading alone changes no window state.
  EXPECT_EQ(PreviewState::NotCreated, preview.Lifecycle().State());
}

TEST_F(PreviewWindow, NoPictureFromMissingOrUndecodableBytes) {
  {
    CPreviewWnd fromThisProgram;  // the test program carries no "JPEGFILE" 150
    EXPECT_EQ(E_FAIL, fromThisProgram.LoadPreviewPicture(150));
    CPreviewWnd otherId(shell_.handle);
    EXPECT_EQ(E_FAIL, otherId.LoadPreviewPicture(151));
  }
  const std::string cases[] = {
      "", "not a picture at all", std::string(64, '\0'),
      "\xFF\xD8\xFF\xD9",  // start and end markers, nothing between
  };
  for (const auto& bytes : cases) {
    CPreviewWnd preview;
    EXPECT_EQ(E_FAIL, preview.LoadPicture(bytes.data(), static_cast<DWORD>(bytes.size())))
        << bytes.size() << " bytes";
    EXPECT_FALSE(preview.HasPicture());
    EXPECT_EQ(0, preview.PictureWidth());
    Canvas canvas(40, 30, kSentinel);
    preview.Paint(canvas.Dc(), RECT{0, 0, 40, 30});
    EXPECT_EQ(40 * 30, CountPixels(canvas.Pixels(), AsPixel(kSentinel))) << "painted nothing";
  }
}

TEST_F(PreviewWindow, PaintStretchesThePictureUprightOverTheWholeArea) {
  ASSERT_EQ(kPictureWidth, reference_.width);
  CPreviewWnd preview(shell_.handle);
  ASSERT_EQ(S_OK, preview.LoadPreviewPicture(150));
  const SIZE boxes[] = {{152, 112}, {304, 224}, {400, 150}, {120, 200}, {100, 74}};
  for (const SIZE box : boxes) {
    SCOPED_TRACE(std::to_string(box.cx) + "x" + std::to_string(box.cy));
    Canvas canvas(box.cx, box.cy, kSentinel);
    preview.Paint(canvas.Dc(), RECT{0, 0, box.cx, box.cy});
    const Image painted = canvas.Pixels();
    EXPECT_EQ(0, CountPixels(painted, AsPixel(kSentinel))) << "part of the box left unpainted";
    const double upright = MeanDifference(painted, Stretched(reference_, box.cx, box.cy));
    const double flipped = MeanDifference(painted, Stretched(reference_, box.cx, box.cy, true));
    EXPECT_LT(upright, 6.0);
    EXPECT_GT(flipped, 3 * upright + 6.0) << "an upside-down picture would pass too";
  }
}

TEST_F(PreviewWindow, WindowHasThePreviewClassAndCoversWhereItIsPut) {
  const HWND parent = MakeParent(200, 150);
  ASSERT_NE(parent, nullptr);
  {
    CPreviewWnd preview;
    const HWND child = preview.Create(parent, Placement{0, 0, 200, 150});
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child, preview.Handle());
    EXPECT_EQ(PreviewState::ShownWithoutPicture, preview.Lifecycle().State());
    EXPECT_EQ(static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS),
              GetClassLongPtrW(child, GCL_STYLE));
    EXPECT_EQ(static_cast<ULONG_PTR>(COLOR_WINDOW + 1),
              GetClassLongPtrW(child, GCLP_HBRBACKGROUND));
    EXPECT_EQ(reinterpret_cast<ULONG_PTR>(LoadCursorW(nullptr, IDC_ARROW)),
              GetClassLongPtrW(child, GCLP_HCURSOR));
    EXPECT_EQ(0u, GetClassLongPtrW(child, GCLP_HICON));
    EXPECT_EQ(0u, GetClassLongPtrW(child, GCLP_MENUNAME));
    EXPECT_EQ(0u, GetClassLongPtrW(child, GCL_CBCLSEXTRA));
    EXPECT_EQ(0u, GetClassLongPtrW(child, GCL_CBWNDEXTRA));
    EXPECT_EQ(static_cast<LONG>(WS_CHILD | WS_VISIBLE),
              GetWindowLongW(child, GWL_STYLE) & ~(WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    EXPECT_EQ(0, GetWindowLongW(child, GWL_EXSTYLE));
    EXPECT_EQ(0, GetWindowTextLengthW(child));
    EXPECT_EQ(parent, GetParent(child));
    RECT rect{};
    GetClientRect(child, &rect);
    EXPECT_EQ(200, rect.right);
    EXPECT_EQ(150, rect.bottom);
    // A second window reuses the class.
    CPreviewWnd second;
    EXPECT_NE(second.Create(parent, Placement{0, 0, 10, 10}), nullptr);
  }
  DestroyWindow(parent);
}

TEST_F(PreviewWindow, DestroyingTheWindowPostsQuitWithCodeZero) {
  const HWND parent = MakeParent(60, 40);
  CPreviewWnd preview;
  ASSERT_NE(preview.Create(parent, Placement{0, 0, 60, 40}), nullptr);
  DestroyWindow(parent);
  EXPECT_EQ(PreviewState::Destroyed, preview.Lifecycle().State());
  EXPECT_EQ(nullptr, preview.Handle());
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(0u, quit.wParam);
}

TEST_F(PreviewWindow, WindowPaintsThePictureOrTheWindowColour) {
  struct Case {
    const char* name;
    HMODULE resources;
    bool picture;
  } cases[] = {{"stored picture", shell_.handle, true}, {"no picture", nullptr, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const HWND parent = MakeParent(190, 140);
    CPreviewWnd preview(c.resources);
    ASSERT_NE(preview.Create(parent, Placement{0, 0, 190, 140}), nullptr);
    EXPECT_EQ(c.picture, SUCCEEDED(preview.LoadPreviewPicture(150)));
    const Image shown = Shown(preview.Handle(), 190, 140);
    if (c.picture) {
      EXPECT_LT(MeanDifference(shown, Stretched(reference_, 190, 140)), 6.0);
    } else {
      EXPECT_EQ(190 * 140, CountPixels(shown, AsPixel(GetSysColor(COLOR_WINDOW))));
    }
    DestroyWindow(parent);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  }
}

// RunPreview drives everything from its own message loop; a thread timer,
// dispatched by that loop, plays the control panel.
struct Panel {
  HWND parent = nullptr;
  int ticks = 0;
  std::vector<HWND> children;
  RECT first{};
  RECT afterResize{};
  bool forcedQuit = false;
  int awarenessInLoop = -1;  // the thread's DPI awareness while the loop ran
};
Panel* panel = nullptr;

// GetAwarenessFromDpiAwarenessContext(GetThreadDpiAwarenessContext()): 0
// unaware, 1 system, 2 per monitor. Contexts are compared by awareness, since
// a thread's and a window's context of one awareness need not be one value.
int Awareness(DpiContext context) {
  using AwarenessFn = int(WINAPI*)(HANDLE);
  const auto awareness = reinterpret_cast<AwarenessFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32"), "GetAwarenessFromDpiAwarenessContext")));
  return awareness(reinterpret_cast<HANDLE>(context));
}

int ThreadAwareness() {
  using ThreadContextFn = HANDLE(WINAPI*)();
  const auto current = reinterpret_cast<ThreadContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32"), "GetThreadDpiAwarenessContext")));
  return Awareness(reinterpret_cast<DpiContext>(current()));
}

RECT InParent(HWND child) {
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void CALLBACK PlayPanel(HWND, UINT, UINT_PTR timer, DWORD) {
  Panel& p = *panel;
  if (++p.ticks == 1) {
    p.awarenessInLoop = ThreadAwareness();
    for (HWND child = GetWindow(p.parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      p.children.push_back(child);
    if (!p.children.empty()) p.first = InParent(p.children[0]);
    SetWindowPos(p.parent, nullptr, 0, 0, 333, 99, SWP_NOMOVE | SWP_NOZORDER);
  } else if (p.ticks == 2) {
    if (!p.children.empty()) p.afterResize = InParent(p.children[0]);
  } else if (p.ticks == 3) {
    // Still waiting after several turns of the loop without a picture; now close.
    DestroyWindow(p.parent);
  } else if (p.ticks == 40) {
    // Half a second after the window went the loop should long have ended.
    KillTimer(nullptr, timer);
    p.forcedQuit = true;
    PostQuitMessage(0);
  }
}

TEST_F(PreviewWindow, RunPreviewCoversTheParentKeepsItsSizeAndEndsWithTheWindow) {
  for (const SIZE box : {SIZE{152, 112}, SIZE{260, 90}}) {
    SCOPED_TRACE(std::to_string(box.cx) + "x" + std::to_string(box.cy));
    Panel observed;
    observed.parent = MakeParent(box.cx, box.cy);
    panel = &observed;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, PlayPanel);
    Win32Windows windows;
    RunPreview(windows, observed.parent);  // this process has no picture: shown without one
    KillTimer(nullptr, timer);
    panel = nullptr;
    EXPECT_GE(observed.ticks, 3) << "ended before the window was destroyed";
    EXPECT_FALSE(observed.forcedQuit) << "went on after the window was destroyed";
    EXPECT_FALSE(IsWindow(observed.parent));
    ASSERT_EQ(1u, observed.children.size());
    const RECT whole{0, 0, box.cx, box.cy};
    EXPECT_TRUE(EqualRect(&whole, &observed.first));
    EXPECT_TRUE(EqualRect(&whole, &observed.afterResize)) << "followed the parent's new size";
  }
}

TEST_F(PreviewWindow, RunPreviewRunsInTheBoxDpiContextUntilTheWindowIsGone) {
  Win32Windows windows;
  const int own = ThreadAwareness();
  // The control panel's box, unaware of scaling.
  const DpiContext replaced = windows.SetThreadDpiAwarenessContext(kDpiContextUnaware);
  ASSERT_NE(0u, replaced);
  Panel observed;
  observed.parent = MakeParent(152, 112);
  windows.SetThreadDpiAwarenessContext(replaced);
  const int box = Awareness(
      windows.GetWindowDpiAwarenessContext(reinterpret_cast<WindowHandle>(observed.parent)));
  ASSERT_NE(own, box);

  panel = &observed;
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, PlayPanel);
  RunPreview(windows, observed.parent);
  KillTimer(nullptr, timer);
  panel = nullptr;
  ASSERT_EQ(1u, observed.children.size());
  EXPECT_EQ(box, observed.awarenessInLoop) << "left the box's context while the child lived";
  EXPECT_EQ(own, ThreadAwareness()) << "the thread's own context did not come back";
}

TEST_F(PreviewWindow, RunPreviewWithoutAParentEndsAtOnce) {
  const HWND gone = MakeParent(10, 10);
  DestroyWindow(gone);
  for (const HWND parent : {HWND{nullptr}, gone}) {
    const DWORD before = GetTickCount();
    Win32Windows windows;
    RunPreview(windows, parent);
    EXPECT_LT(GetTickCount() - before, 1000u);
  }
  // TearDown checks that no quit message was left behind.
}

}  // namespace
}  // namespace glimmer::win32
