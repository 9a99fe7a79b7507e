// Stands in for "Glimmerdale 3D Screensaver.exe" in tests and in scripts/run.
//
// Every start appends to the log named by GLIMMERDALE_STANDIN_LOG (UTF-8):
//   start
//   command: <the whole command line>
//   folder: <the working folder>
//   message: <code> <value>      (wallpaper mode, one line per live change)
//   end
// Without "/w" it is the screensaver: a full-screen window until a key or a
// mouse move, or for GLIMMERDALE_STANDIN_RUN_MS milliseconds when that is set.
// With "/w" it is the animated wallpaper: a window of class "Direct3D Window"
// that logs every "ChangeWallpaperSettingsGlimmerdale" message it receives,
// until it is closed or GLIMMERDALE_STANDIN_RUN_MS runs out.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT_PTR kRunTimer = 1;
UINT wallpaperMessage = 0;
POINT firstMouse{-1, -1};

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring Environment(const wchar_t* name) {
  wchar_t buffer[4096] = {};
  const DWORD length = GetEnvironmentVariableW(name, buffer, 4096);
  return length > 0 && length < 4096 ? std::wstring(buffer, length) : std::wstring();
}

void Log(const std::string& line) {
  const std::wstring path = Environment(L"GLIMMERDALE_STANDIN_LOG");
  if (path.empty()) return;
  if (FILE* file = _wfopen(path.c_str(), L"ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (wallpaperMessage != 0 && message == wallpaperMessage) {
    Log("message: " + std::to_string(static_cast<unsigned>(wParam)) + " " +
        std::to_string(static_cast<int>(lParam)));
    return 0;
  }
  switch (message) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_MOUSEMOVE: {
      POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (firstMouse.x < 0) {
        firstMouse = at;  // the one Windows sends when the window appears
      } else if (std::abs(at.x - firstMouse.x) > 4 || std::abs(at.y - firstMouse.y) > 4) {
        DestroyWindow(window);
      }
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT area;
      GetClientRect(window, &area);
      FillRect(dc, &area, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      SetTextColor(dc, RGB(200, 220, 255));
      SetBkMode(dc, TRANSPARENT);
      DrawTextW(dc, L"Glimmerdale 3D Screensaver (stand-in)", -1, &area,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const std::wstring commandLine = GetCommandLineW();
  wchar_t folder[MAX_PATH * 4] = {};
  GetCurrentDirectoryW(MAX_PATH * 4, folder);
  Log("start");
  Log("command: " + Utf8(commandLine));
  Log("folder: " + Utf8(folder));

  const bool wallpaper = commandLine.find(L"/w") != std::wstring::npos;
  const wchar_t* className = wallpaper ? L"Direct3D Window" : L"GlimmerdaleStandIn";
  if (wallpaper) wallpaperMessage = RegisterWindowMessageW(L"ChangeWallpaperSettingsGlimmerdale");

  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = className;
  RegisterClassW(&windowClass);

  HWND window = nullptr;
  if (wallpaper) {
    window = CreateWindowExW(WS_EX_TOOLWINDOW, className, L"Glimmerdale wallpaper", WS_POPUP, 0, 0,
                             64, 64, nullptr, nullptr, instance, nullptr);
  } else {
    window = CreateWindowExW(WS_EX_TOPMOST, className, L"Glimmerdale 3D Screensaver",
                             WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                             GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  }
  if (window) {
    const std::wstring runMs = Environment(L"GLIMMERDALE_STANDIN_RUN_MS");
    if (!runMs.empty())
      SetTimer(window, kRunTimer, static_cast<UINT>(_wtoi(runMs.c_str())), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  Log("end");
  return 0;
}
