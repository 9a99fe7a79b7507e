#include "dialog_template.h"

#include <cstring>

namespace glimmer::tests {
namespace {

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool ok() const { return ok_; }
  template <typename T>
  T Read() {
    T value{};
    if (at_ + sizeof(T) > size_) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, data_ + at_, sizeof(T));
    at_ += sizeof(T);
    return value;
  }
  std::wstring String() {
    std::wstring text;
    for (wchar_t unit = Read<wchar_t>(); ok_ && unit != 0; unit = Read<wchar_t>()) text += unit;
    return text;
  }
  // A name or an ordinal: 0 none, 0xFFFF then a number, else a string.
  void NameOrOrdinal(std::uint16_t& ordinal, std::wstring& name) {
    const auto first = Read<std::uint16_t>();
    if (first == 0) return;
    if (first == 0xFFFF) {
      ordinal = Read<std::uint16_t>();
      return;
    }
    name += static_cast<wchar_t>(first);
    name += String();
  }
  void AlignTo(std::size_t bytes) { at_ = (at_ + bytes - 1) / bytes * bytes; }
  void Skip(std::size_t bytes) { at_ += bytes; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
  bool ok_ = true;
};

}  // namespace

std::optional<DialogTemplate> ReadDialogTemplate(HMODULE module, int id) {
  const HRSRC found =
      FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));  // RT_DIALOG
  if (!found) return std::nullopt;
  const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(module, found)));
  if (!data) return std::nullopt;
  Reader in(data, SizeofResource(module, found));
  if (in.Read<std::uint16_t>() != 1 || in.Read<std::uint16_t>() != 0xFFFF) return std::nullopt;
  DialogTemplate dialog;
  in.Read<std::uint32_t>();  // help id
  dialog.exStyle = in.Read<std::uint32_t>();
  dialog.style = in.Read<std::uint32_t>();
  const auto count = in.Read<std::uint16_t>();
  dialog.x = in.Read<short>();
  dialog.y = in.Read<short>();
  dialog.cx = in.Read<short>();
  dialog.cy = in.Read<short>();
  std::uint16_t ordinal = 0;
  std::wstring name;
  in.NameOrOrdinal(ordinal, name);  // menu
  in.NameOrOrdinal(ordinal, name);  // class
  dialog.title = in.String();
  if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
    dialog.pointSize = in.Read<std::uint16_t>();
    in.Read<std::uint16_t>();  // weight
    in.Read<std::uint8_t>();   // italic
    in.Read<std::uint8_t>();   // character set
    dialog.font = in.String();
  }
  for (int i = 0; i < count && in.ok(); ++i) {
    in.AlignTo(4);
    TemplateItem item;
    in.Read<std::uint32_t>();  // help id
    item.exStyle = in.Read<std::uint32_t>();
    item.style = in.Read<std::uint32_t>();
    item.x = in.Read<short>();
    item.y = in.Read<short>();
    item.cx = in.Read<short>();
    item.cy = in.Read<short>();
    item.id = in.Read<std::int32_t>();
    in.NameOrOrdinal(item.classAtom, item.className);
    std::uint16_t textOrdinal = 0;
    in.NameOrOrdinal(textOrdinal, item.text);
    in.Skip(in.Read<std::uint16_t>());
    dialog.items.push_back(item);
  }
  if (!in.ok()) return std::nullopt;
  return dialog;
}

}  // namespace glimmer::tests
