#include "fakes/fake_playlist_controls.h"

#include <algorithm>

#include "playlist/file_dialog.h"

namespace glimmer::fakes {

void FakePlaylistControls::Select(int index, bool selected) {
  if (!Has(index)) return;
  std::uint32_t& state = items[static_cast<std::size_t>(index)].state;
  state = selected ? (state | kLvisSelected) : (state & ~kLvisSelected);
}

std::vector<std::u16string> FakePlaylistControls::Texts() const {
  std::vector<std::u16string> texts;
  for (const Item& item : items) texts.push_back(item.text);
  return texts;
}

int FakePlaylistControls::GetStringWidth(std::u16string_view text) {
  return static_cast<int>(text.size()) * pixelsPerCharacter;
}

int FakePlaylistControls::InsertColumn(int index, std::u16string_view text, int width) {
  if (index < 0) return -1;
  const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(index), columns.size());
  columns.insert(columns.begin() + static_cast<std::ptrdiff_t>(at), {std::u16string(text), width});
  return static_cast<int>(at);
}

int FakePlaylistControls::InsertItem(int index, std::u16string_view text) {
  if (index < 0) return -1;
  const std::size_t at = std::min<std::size_t>(static_cast<std::size_t>(index), items.size());
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(at), {std::u16string(text), 0});
  return static_cast<int>(at);
}

int FakePlaylistControls::GetSelectedCount() {
  return static_cast<int>(std::count_if(items.begin(), items.end(), [](const Item& item) {
    return (item.state & kLvisSelected) != 0;
  }));
}

bool FakePlaylistControls::GetItemState(int index, std::uint32_t mask, std::uint32_t& state) {
  if (!Has(index)) return false;
  state = items[static_cast<std::size_t>(index)].state & mask;
  return true;
}

bool FakePlaylistControls::DeleteItem(int index) {
  if (!Has(index)) return false;
  items.erase(items.begin() + index);
  return true;
}

bool FakePlaylistControls::GetOpenFileName(std::u16string_view filter, std::uint32_t flags,
                                           std::u16string& buffer) {
  requests.push_back(
      {std::u16string(filter), flags, buffer.size(),
       std::all_of(buffer.begin(), buffer.end(), [](char16_t c) { return c == 0; })});
  lastError_ = 0;
  if (choices.empty()) return false;
  const Choice choice = choices.front();
  choices.pop_front();
  if (choice.names.empty()) return false;

  // One file: its full path. Several: the folder, then each name, each ended
  // by a NUL, and an empty name at the end.
  std::u16string result;
  if (choice.names.size() == 1) {
    result = choice.folder;
    if (!result.empty() && result.back() != u'\\') result += u'\\';
    result += choice.names.front();
    result += u'\0';
  } else {
    result = choice.folder + u'\0';
    for (const std::u16string& name : choice.names) result += name + u'\0';
    result += u'\0';
  }
  if (result.size() > buffer.size()) {
    lastError_ = kFnErrBufferTooSmall;
    return false;
  }
  std::copy(result.begin(), result.end(), buffer.begin());
  return true;
}

}  // namespace glimmer::fakes
