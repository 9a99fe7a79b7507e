// Plays the display control panel's preview box: a window of the driver's own
// that the shell started with "/p <number>" puts its child into. The box's
// thread keeps pumping while it waits, because creating and destroying a
// child in another process sends messages to the parent and blocks on them.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "driver/driver.h"

namespace glimmer::driver {

class PreviewBox {
 public:
  PreviewBox(int clientWidth, int clientHeight);
  // The box as a child of parent at (x, y), as in the control panel.
  PreviewBox(int clientWidth, int clientHeight, HWND parent, int x, int y);
  PreviewBox(const PreviewBox&) = delete;
  PreviewBox& operator=(const PreviewBox&) = delete;
  ~PreviewBox();

  HWND Handle() const { return window_; }
  // The decimal window number the control panel puts after "/p".
  std::wstring Number() const;
  RECT ClientRect() const;
  bool ResizeClient(int clientWidth, int clientHeight);
  // What the control panel does when it closes or changes the preview.
  void Destroy();
  // Destroys the box from inside the notification that a child is being
  // created, while the creating thread still waits for the box's answer.
  void DestroyWhenAChildIsCreated();
  // The direct children, in Z order.
  std::vector<HWND> Children() const;
  // The first child once it is visible: it is in the list already while its
  // creation still waits on this thread. Null until then.
  HWND ShownChild() const;

  // Pumps this thread's messages until done() holds or limit passes; done()'s last answer.
  bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
  // Pumps until process ends or limit passes: its exit code, or nothing.
  std::optional<DWORD> PumpUntilExit(HANDLE process, std::chrono::milliseconds limit);

 private:
  HWND window_ = nullptr;
};

// What a window of this process shows in its client area after a full
// repaint, row by row (COLORREF values).
std::vector<COLORREF> CaptureClient(HWND window);

// The number of a window that existed and is gone now.
std::wstring StaleWindowNumber();

// Copies the shell and removes its preview picture ("JPEGFILE" 150) from the
// copy, or replaces the picture by bytes when given.
bool CopyWithPreviewPicture(const std::wstring& from, const std::wstring& to,
                            const std::optional<std::string>& bytes);

// driver preview PROGRAM [WIDTH HEIGHT [RUNS]]: starts PROGRAM in a box RUNS
// times, prints how long each child took to appear and how long the process
// took to end after the box was destroyed, and the medians.
int PreviewMain(int argc, wchar_t** argv);

// driver show-preview PROGRAM [SECONDS]: the preview as the control panel
// shows it, in a window of its own holding a box of 152 x 112; until the
// window is closed, or for SECONDS. Then the box goes, as when the control
// panel closes, and the shell ends by itself.
int ShowPreviewMain(int argc, wchar_t** argv);

}  // namespace glimmer::driver
