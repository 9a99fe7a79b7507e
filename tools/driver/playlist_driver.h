// Plays the user of the playlist editor from outside its process: finds the
// editor (the dialog with the list view), reads and selects the list view's
// items through memory in the editor's process, clicks its buttons, and
// answers the file-open dialog that "Add..." shows.
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "driver/driver.h"

namespace glimmer::driver {

// A block of memory in another process, freed on destruction.
class RemoteMemory {
 public:
  RemoteMemory(DWORD processId, std::size_t size);
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool Valid() const { return address_ != nullptr; }
  void* Address() const { return address_; }
  bool Write(const void* data, std::size_t size, std::size_t offset = 0);
  bool Read(void* data, std::size_t size, std::size_t offset = 0) const;

 private:
  OwnedHandle process_;
  void* address_ = nullptr;
};

class PlaylistEditorDriver {
 public:
  explicit PlaylistEditorDriver(DWORD processId) : processId_(processId) {}

  // Waits, pumping the caller's messages, for the editor to be up.
  HWND WaitForEditor(std::chrono::milliseconds limit = std::chrono::seconds(20));
  HWND Editor() const { return editor_; }
  // Waits for the editor to be gone.
  bool WaitUntilClosed(std::chrono::milliseconds limit = std::chrono::seconds(20));

  std::vector<std::wstring> Items() const;
  // Selects exactly these items (0-based), as Ctrl+clicks would.
  bool SelectOnly(const std::vector<int>& indexes);
  int Shuffle() const;
  std::wstring Text(int id) const;

  // A button click; returns when the editor has handled it.
  void Click(int id);
  // "Add...", then in the file-open dialog: one full path, or a folder and
  // several names in it. False when the file-open dialog did not come or did
  // not go.
  bool AddFile(const std::wstring& path);
  bool AddFiles(const std::wstring& folder, const std::vector<std::wstring>& names);
  // "Add..." and then Cancel in the file-open dialog.
  bool AddNothing();
  void Sync() const;

 private:
  HWND OpenFileDialog(std::chrono::milliseconds limit);
  bool Answer(const std::vector<std::wstring>& typed, bool cancel);

  DWORD processId_;
  HWND editor_ = nullptr;
};

}  // namespace glimmer::driver
