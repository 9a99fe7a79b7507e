// Plays the display control panel and the user around the settings dialog:
// an owner window of our own that keeps pumping messages, the shell started
// with "/c <owner>", its dialog found and driven by clicks, keys and track-bar
// moves, and its message boxes read and answered.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "driver/driver.h"

namespace glimmer::driver {

// Runs the calling thread's messages for up to `time` (at least once), so a
// window of ours stays responsive while another process's dialog owns it.
void PumpFor(std::chrono::milliseconds time);

// Waits, pumping, until condition holds or limit runs out; its last answer.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    PumpFor(std::chrono::milliseconds(10));
  }
}

// A top-level window standing in for the control panel.
class OwnerWindow {
 public:
  OwnerWindow();
  ~OwnerWindow();
  OwnerWindow(const OwnerWindow&) = delete;
  OwnerWindow& operator=(const OwnerWindow&) = delete;
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

class SettingsSession {
 public:
  // Starts the shell with arguments (for example L"/c 1234").
  explicit SettingsSession(const std::wstring& arguments,
                           const std::wstring& program = ExecutableFolder() + L"Glimmerdale.scr");
  // A shell started otherwise, by its process.
  SettingsSession(OwnedHandle process, DWORD processId);
  ~SettingsSession();
  SettingsSession(const SettingsSession&) = delete;
  SettingsSession& operator=(const SettingsSession&) = delete;

  bool Started() const { return process_ != nullptr; }
  DWORD ProcessId() const { return processId_; }
  // Waits for the visible dialog whose title is no longer the template's.
  HWND WaitForDialog(std::chrono::milliseconds limit = std::chrono::seconds(30));
  HWND Dialog() const { return dialog_; }
  HWND Control(int id) const { return GetDlgItem(dialog_, id); }

  int Check(int id) const;
  int TrackBar(int id) const;
  bool Enabled(int id) const;
  std::wstring Text(int id) const;
  std::wstring Title() const;
  std::vector<std::wstring> ComboEntries(int id) const;
  std::vector<LRESULT> ComboData(int id) const;
  int ComboSelection(int id) const;

  // A button click as the user makes it (BM_CLICK); returns when the dialog
  // has handled it.
  void Click(int id);
  // The same for a click that opens a nested modal dialog: returns at once.
  void ClickAndGoOn(int id);
  // Moves a track bar by its keyboard, so the track bar itself tells the
  // dialog (WM_HSCROLL, on the key going down and again coming up); each
  // press is one step.
  void PressOnTrackBar(int id, UINT key, int times = 1);
  // Sets a track bar and sends the dialog the scroll message it would get.
  void DragTrackBar(int id, int position);
  // Picks entry index of a drop-down list as the user does: the list
  // dropped, the entry selected, Enter; returns when the dialog has handled
  // what the combo box told it.
  void ChooseComboEntry(int id, int index);
  // Enter or Escape on the dialog's focused control.
  void PressKey(UINT key);
  // The title bar's close box.
  void CloseBox();
  // Waits until the dialog's thread has handled everything sent so far.
  void Sync() const;

  // The shell's other top-level dialogs (message boxes), by caption and text.
  std::vector<MessageBoxSeen> MessageBoxes() const;
  // Presses OK on every message box; returns what they said.
  std::vector<MessageBoxSeen> AnswerMessageBoxes();

  // Waits for the process to end; its exit code, or nothing after the limit.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds limit = std::chrono::seconds(20));

 private:
  OwnedHandle process_;
  DWORD processId_ = 0;
  HWND dialog_ = nullptr;
};

// The stand-in main program running as the wallpaper ("/w"), logging what it
// receives into log.
class WallpaperStandIn {
 public:
  explicit WallpaperStandIn(const std::wstring& log);
  ~WallpaperStandIn();
  bool Running() const { return window_ != nullptr; }
  // Closes it and waits for it, so its log is complete; the "code value"
  // pairs it received, in order.
  std::vector<std::pair<int, int>> CloseAndReadMessages();

 private:
  std::wstring log_;
  OwnedHandle process_;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// Registry helpers for arranging and checking (HKLM settings key unless named).
inline constexpr wchar_t kSettingsKeyPath[] = L"Software\\Vellumark\\Glimmerdale 3D Screensaver";
inline constexpr wchar_t kRunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
void PutString(HKEY root, const wchar_t* key, const wchar_t* name, const std::wstring& value);
std::optional<std::wstring> GetString(HKEY root, const wchar_t* key, const wchar_t* name);
// Deletes the settings key and the user's Run entry: a scenario's clean start.
void WipeSettingsAndRunEntry();
// Every value of a key, as (name, type, bytes), in enumeration order.
struct RawRegistryValue {
  std::wstring name;
  DWORD type = 0;
  std::vector<BYTE> data;
  friend bool operator==(const RawRegistryValue&, const RawRegistryValue&) = default;
};
std::vector<RawRegistryValue> KeyValues(HKEY root, const wchar_t* key);

}  // namespace glimmer::driver
