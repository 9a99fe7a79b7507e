// Stands in for "Glimmerdale 3D Screensaver.exe" in tests and in scripts/run.
//
// Every start appends to the log named by GLIMMERDALE_STANDIN_LOG (UTF-8):
//   start
//   command: <the whole command line>
//   folder: <the working folder>
//   settings: <count>            (or "settings: none (error <code>)" without the key)
//   setting: <name>=<text>       (one line per value of the settings key, by name)
//   unread: <why>                (a value that could not be read)
//   message: <code> <value>      (wallpaper mode, one line per live change)
//   end
// The settings are read at the start, as the main program reads them: every
// value of HKEY_LOCAL_MACHINE\Software\Vellumark\Glimmerdale 3D Screensaver in
// the native (64-bit) view, its data taken as UTF-16 code units up to the
// first zero, whatever its registry type. Names and texts are written in
// UTF-8 (a lone surrogate as UTF-8 would encode its code point), with every
// byte below 0x20, DEL and "%" (and "=" in a name) as "%HH", so that each
// value is one line and reads back exactly.
// Without "/w" it is the screensaver: a full-screen window until a key or a
// mouse move, or for GLIMMERDALE_STANDIN_RUN_MS milliseconds when that is set.
// With "/w" it is the animated wallpaper: a window of class "Direct3D Window"
// that logs every "ChangeWallpaperSettingsGlimmerdale" message it receives,
// until it is closed or GLIMMERDALE_STANDIN_RUN_MS runs out.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT_PTR kRunTimer = 1;
const wchar_t kSettingsKey[] = L"Software\\Vellumark\\Glimmerdale 3D Screensaver";
// Registry value names are at most 16383 code units. Data beyond the second
// figure is logged as too long to read.
constexpr size_t kLongestName = 16384;
constexpr size_t kLargestData = 64u << 20;
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
    std::fwrite(line.data(), 1, line.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
  }
}

void AppendEscaped(std::string& out, unsigned byte, bool name) {
  if (byte < 0x20 || byte == 0x7F || byte == '%' || (name && byte == '=')) {
    const char digits[] = "0123456789ABCDEF";
    out += '%';
    out += digits[byte >> 4];
    out += digits[byte & 15];
  } else {
    out += static_cast<char>(byte);
  }
}

// text as a log line's field (see the top of this file).
std::string Escaped(const std::wstring& text, bool name) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00u);
    }
    if (code < 0x80) {
      AppendEscaped(out, code, name);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

// Logs the settings key's values, sorted by name (code unit by code unit).
void LogSettings() {
  HKEY key = nullptr;
  const LONG opened =
      RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ | KEY_WOW64_64KEY, &key);
  if (opened != ERROR_SUCCESS) {
    Log("settings: none (error " + std::to_string(opened) + ")");
    return;
  }
  DWORD longestName = 0, longestData = 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &longestName,
                   &longestData, nullptr, nullptr);
  // The key may change while it is read: a buffer found too small grows.
  std::vector<wchar_t> name(std::min<size_t>(longestName + 1, kLongestName));
  std::vector<BYTE> data(std::min<size_t>(longestData + 2, kLargestData));
  std::vector<std::pair<std::wstring, std::wstring>> values;
  std::vector<std::string> problems;
  for (DWORD index = 0;; ++index) {
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD size = static_cast<DWORD>(data.size());
    const LONG result =
        RegEnumValueW(key, index, name.data(), &nameLength, nullptr, nullptr, data.data(), &size);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_MORE_DATA) {
      if (data.size() < kLargestData || name.size() < kLongestName) {
        name.resize(std::min(name.size() * 2, kLongestName));
        data.resize(std::min(data.size() * 2, kLargestData));
        --index;
      } else {
        problems.push_back("unread: setting #" + std::to_string(index) + " is too long");
      }
      continue;
    }
    if (result != ERROR_SUCCESS) {
      problems.push_back("unread: error " + std::to_string(result) + " at setting #" +
                         std::to_string(index) + " and after");
      break;
    }
    std::wstring text(size / sizeof(wchar_t), L'\0');
    std::copy_n(data.data(), text.size() * sizeof(wchar_t), reinterpret_cast<BYTE*>(text.data()));
    text.resize(std::min(text.size(), text.find(L'\0')));
    values.emplace_back(std::wstring(name.data(), nameLength), std::move(text));
  }
  RegCloseKey(key);
  std::sort(values.begin(), values.end());
  Log("settings: " + std::to_string(values.size()));
  for (const auto& [valueName, text] : values)
    Log("setting: " + Escaped(valueName, true) + "=" + Escaped(text, false));
  for (const auto& problem : problems) Log(problem);
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
  LogSettings();

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
