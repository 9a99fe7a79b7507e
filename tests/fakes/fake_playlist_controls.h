// The playlist editor's window in memory: a list view whose items carry their
// selection when others are inserted or deleted, the "Shuffle" box, and a
// file-open dialog that answers with scripted choices in the dialog's own
// result format.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "playlist/playlist_controls.h"

namespace glimmer::fakes {

class FakePlaylistControls : public PlaylistControls {
 public:
  struct Item {
    std::u16string text;
    std::uint32_t state = 0;
  };
  struct Column {
    std::u16string text;
    int width = 0;
  };
  // One answer of the file-open dialog: names chosen in folder; none is a cancel.
  struct Choice {
    std::u16string folder;
    std::vector<std::u16string> names;
  };
  // What the product asked the file-open dialog for.
  struct OpenRequest {
    std::u16string filter;
    std::uint32_t flags = 0;
    std::size_t bufferSize = 0;
    bool bufferZeroed = false;
  };

  WindowHandle dialog = 0x5150;
  int pixelsPerCharacter = 6;
  std::vector<Item> items;
  std::vector<Column> columns;
  int check = 0;
  bool okShield = false;
  std::deque<Choice> choices;  // each file-open dialog takes the next; none left cancels
  std::vector<OpenRequest> requests;
  std::optional<int> endedWith;  // EndDialog's result

  // As a click with Ctrl would.
  void Select(int index, bool selected = true);
  std::vector<std::u16string> Texts() const;

  WindowHandle Dialog() override { return dialog; }
  int GetStringWidth(std::u16string_view text) override;
  int InsertColumn(int index, std::u16string_view text, int width) override;
  int InsertItem(int index, std::u16string_view text) override;
  int GetSelectedCount() override;
  int GetItemCount() override { return static_cast<int>(items.size()); }
  bool GetItemState(int index, std::uint32_t mask, std::uint32_t& state) override;
  bool DeleteItem(int index) override;
  int GetCheck() override { return check; }
  void SetCheck(int state) override { check = state; }
  void SetOkShield(bool shield) override { okShield = shield; }
  bool GetOpenFileName(std::u16string_view filter, std::uint32_t flags,
                       std::u16string& buffer) override;
  std::uint32_t CommDlgExtendedError() override { return lastError_; }
  void EndDialog(int result) override { endedWith = result; }

 private:
  bool Has(int index) const { return index >= 0 && index < static_cast<int>(items.size()); }
  std::uint32_t lastError_ = 0;
};

}  // namespace glimmer::fakes
