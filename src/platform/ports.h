// Ports: the small interfaces through which the core reaches the platform.
// Each mirrors the Win32 calls it stands for; the Win32 adapters in src/win32
// translate them one to one and the fakes in tests/fakes stand in for them.
// This file holds the ports of the system, processes, message boxes, windows
// and resources; the others have a header each beside it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#ifdef _WIN32
// Some of the Win32 names mirrored below are macros in <windows.h>; a file
// that includes it first must not see the port's members renamed.
#undef CreateProcess
#undef GetClassName
#undef GetCurrentDirectory
#undef GetFileAttributes
#undef GetNextWindow
#undef GetWindowText
#undef MessageBox
#undef PostMessage
#undef ReadTimeStampCounter
#undef RegisterWindowMessage
#undef SetWindowText
#endif

namespace glimmer {

using WindowHandle = std::uintptr_t;  // HWND; 0 is none
using OsHandle = std::uintptr_t;      // HANDLE; 0 is none
using CursorHandle = std::uintptr_t;  // HCURSOR; 0 is none
using DpiContext = std::uintptr_t;    // DPI_AWARENESS_CONTEXT; 0 is none

inline constexpr std::uint32_t kInvalidFileAttributes = 0xFFFFFFFFu;
inline constexpr int kCsidlProgramFiles = 0x26;
inline constexpr int kCsidlProgramFilesX86 = 0x2A;
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;
// WaitForSingleObject's answers.
inline constexpr std::uint32_t kWaitObject0 = 0;
inline constexpr std::uint32_t kWaitTimeout = 0x102;
inline constexpr std::uint32_t kWaitFailed = 0xFFFFFFFFu;

class SystemPort {
 public:
  virtual ~SystemPort() = default;
  // GetModuleHandleW("kernel32") and GetProcAddress of name on it.
  virtual bool Kernel32HasEntry(std::string_view name) = 0;
  // IsWow64Process(GetCurrentProcess(), &wow64): the call's result.
  virtual bool IsWow64Process(bool& wow64) = 0;
  // GetFileAttributesW; kInvalidFileAttributes when the path names nothing.
  virtual std::uint32_t GetFileAttributes(std::u16string_view path) = 0;
  // rdtsc; false when reading the counter faults (barred to user code).
  virtual bool ReadTimeStampCounter(std::uint64_t& value) = 0;
  virtual bool QueryPerformanceFrequency(std::int64_t& frequency) = 0;
  virtual bool QueryPerformanceCounter(std::int64_t& counter) = 0;
  // SHGetSpecialFolderPathW(no owner, buffer of 2048, csidl, no creation).
  virtual bool GetSpecialFolderPath(int csidl, std::u16string& path) = 0;
  // GetCurrentDirectoryW into a buffer of 2048; false when it fails or does not fit.
  virtual bool GetCurrentDirectory(std::u16string& path) = 0;
  // True for the 64-bit build. The product's rules are those of a 32-bit
  // process, so a 64-bit build asks for the 32-bit registry view and program
  // folder explicitly where a 32-bit one would get them by redirection.
  virtual bool Is64BitProcess() = 0;
};

struct ProcessHandles {
  OsHandle process = 0;
  OsHandle thread = 0;
};

class ProcessPort {
 public:
  virtual ~ProcessPort() = default;
  // CreateProcessW(no application name, commandLine, no security attributes,
  // no inheritance, flags 0, this environment, currentDirectory, zeroed
  // STARTUPINFOW with only its size set).
  virtual bool CreateProcess(std::u16string_view commandLine, std::u16string_view currentDirectory,
                             ProcessHandles& started) = 0;
  // WaitForSingleObject; returns its result code.
  virtual std::uint32_t WaitForSingleObject(OsHandle handle, std::uint32_t milliseconds) = 0;
  virtual bool CloseHandle(OsHandle handle) = 0;
};

// DPI_AWARENESS_CONTEXT_UNAWARE: the pseudo-handle that puts a thread in the
// context of a program that knows nothing of scaling.
inline constexpr DpiContext kDpiContextUnaware = static_cast<DpiContext>(-1);

inline constexpr std::uint32_t kMbOk = 0x0;
inline constexpr std::uint32_t kMbIconError = 0x10;

class UiPort {
 public:
  virtual ~UiPort() = default;
  // MessageBoxW; returns the button pressed.
  virtual int MessageBox(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                         std::uint32_t style) = 0;
  // SetCursor(LoadCursorW(none, IDC_WAIT)): the wait cursor over this
  // thread's windows until the next cursor is set; the cursor it replaced.
  virtual CursorHandle ShowWaitCursor() = 0;
  // SetCursor(cursor).
  virtual void SetCursor(CursorHandle cursor) = 0;
};

class WindowPort {
 public:
  virtual ~WindowPort() = default;
  // GetWindowTextW into a buffer of capacity code units including the NUL: at
  // most capacity - 1 units of the text.
  virtual std::u16string GetWindowText(WindowHandle window, int capacity) = 0;
  virtual bool SetWindowText(WindowHandle window, std::u16string_view text) = 0;
  // GetTopWindow(window): the first child in Z order, 0 when none.
  virtual WindowHandle GetTopWindow(WindowHandle window) = 0;
  // GetWindow(window, GW_HWNDNEXT): the next sibling in Z order, 0 when none.
  virtual WindowHandle GetNextWindow(WindowHandle window) = 0;

  // Called once per window; returning false stops the whole walk.
  using Visitor = std::function<bool(WindowHandle)>;
  // EnumWindows: the top-level windows, top of the Z order first. False when
  // the visitor stopped the walk.
  virtual bool EnumWindows(const Visitor& visit) = 0;
  // EnumChildWindows: every descendant of parent, each child followed by its
  // own descendants, siblings in Z order. Windows leaves the result undefined.
  virtual void EnumChildWindows(WindowHandle parent, const Visitor& visit) = 0;
  // GetClassNameW into a buffer of capacity code units including the NUL.
  virtual std::u16string GetClassName(WindowHandle window, int capacity) = 0;
  // GetParent: the parent of a child window, 0 for a top-level one.
  virtual WindowHandle GetParent(WindowHandle window) = 0;
  virtual bool IsWindow(WindowHandle window) = 0;
  // RegisterWindowMessageW: the same number in 0xC000..0xFFFF for the same
  // name (compared without case) in every process of the session; 0 on failure.
  virtual std::uint32_t RegisterWindowMessage(std::u16string_view name) = 0;
  // PostMessageW: queues the message and returns at once; false when window
  // names no window. Window 0 posts to the calling thread's own queue.
  virtual bool PostMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                           std::intptr_t lParam) = 0;

  // Both calls exist from Windows 10 1607 on; before that each answers 0 and
  // changes nothing.
  // GetWindowDpiAwarenessContext: the DPI awareness context window lives in;
  // 0 when window names no window.
  virtual DpiContext GetWindowDpiAwarenessContext(WindowHandle window) = 0;
  // SetThreadDpiAwarenessContext: the calling thread takes context, a
  // window's or a pseudo-handle; the top-level windows it then creates live
  // in it (a child lives in its parent's), and the rectangles it reads are in
  // that context's coordinates. The context it replaced, which may be handed
  // back to restore it; 0, with nothing changed, when context is not one.
  virtual DpiContext SetThreadDpiAwarenessContext(DpiContext context) = 0;
};

inline constexpr std::uint16_t kRtRcdata = 10;

class ResourcePort {
 public:
  virtual ~ResourcePort() = default;
  // FindResourceW / LoadResource / LockResource / SizeofResource on the
  // program's own module. The bytes stay valid as long as the module is loaded.
  virtual bool FindResourceBytes(std::uint16_t id, std::uint16_t type, const std::uint8_t*& data,
                                 std::uint32_t& size) = 0;
};

// Owns one handle of a port that closes its handles (files, processes and
// file mappings) and closes it once. Move-only: a copy would close twice.
template <typename Port>
class HandleOwner {
 public:
  HandleOwner() = default;
  HandleOwner(Port& port, OsHandle handle) : port_(&port), handle_(handle) {}
  HandleOwner(const HandleOwner&) = delete;
  HandleOwner& operator=(const HandleOwner&) = delete;
  HandleOwner(HandleOwner&& other) noexcept
      : port_(other.port_), handle_(std::exchange(other.handle_, 0)) {}
  HandleOwner& operator=(HandleOwner&& other) noexcept {
    if (this != &other) {
      Close();
      port_ = other.port_;
      handle_ = std::exchange(other.handle_, 0);
    }
    return *this;
  }
  ~HandleOwner() { Close(); }

  OsHandle get() const { return handle_; }
  explicit operator bool() const { return handle_ != 0; }
  void Close() {
    if (handle_ != 0 && port_ != nullptr) port_->CloseHandle(std::exchange(handle_, 0));
  }

 private:
  Port* port_ = nullptr;
  OsHandle handle_ = 0;
};

}  // namespace glimmer
