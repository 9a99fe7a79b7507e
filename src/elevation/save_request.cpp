#include "elevation/save_request.h"

#include <algorithm>

#include "config/value_text.h"
#include "platform/product.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace glimmer {
namespace {

constexpr std::uint32_t kMagic = 0x52534447;  // "GDSR"
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 5 * 4;
constexpr std::size_t kEntryHeaderBytes = 3 * 4;
// The registry's own limits: a key name of 255 units, a value name of 16,383.
constexpr std::size_t kMaxKeyNameUnits = 255;
constexpr std::size_t kMaxValueNameUnits = 16383;

void PutWord(std::vector<std::uint8_t>& out, std::uint32_t word) {
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(word >> shift));
}

void PutText(std::vector<std::uint8_t>& out, std::u16string_view text) {
  for (const char16_t unit : text) {
    out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
}

// Reads the bytes front to back; every read checks what is left.
class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Word(std::uint32_t& word) {
    if (bytes_.size() - at_ < 4) return false;
    word = 0;
    for (int i = 3; i >= 0; --i) word = (word << 8) | bytes_[at_ + static_cast<std::size_t>(i)];
    at_ += 4;
    return true;
  }
  bool Text(std::uint32_t units, std::u16string& text) {
    if ((bytes_.size() - at_) / 2 < units) return false;
    text.resize(units);
    for (std::uint32_t i = 0; i < units; ++i, at_ += 2)
      text[i] = static_cast<char16_t>(bytes_[at_] | (bytes_[at_ + 1] << 8));
    return true;
  }
  std::size_t Position() const { return at_; }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

char16_t FoldAscii(char16_t unit) {
  return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

// Registry names compare without regard to case. The letters of "AppPath"
// have no other spellings in the system's case table than their ASCII ones.
bool IsAppPath(std::u16string_view name) {
  return name.size() == kAppPathValue.size() &&
         std::equal(name.begin(), name.end(), kAppPathValue.begin(),
                    [](char16_t a, char16_t b) { return FoldAscii(a) == FoldAscii(b); });
}

bool HasControlCharacter(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(), [](char16_t unit) { return unit < 0x20; });
}

void Collect(const Node& node, const std::u16string& key, SaveRequest& request, bool& writable) {
  for (const auto& [name, value] : node.children) {
    if (const Node* child = value.AsSubtree()) {
      Collect(*child, key.empty() ? name : key + u"\\" + name, request, writable);
      continue;
    }
    if (value.type != ValueType::Float && value.type != ValueType::Int &&
        value.type != ValueType::String)
      continue;
    if (value.type == ValueType::String && value.stringValue.empty()) continue;
    if (IsAppPath(name)) continue;
    const std::optional<std::u16string> text = FormatValueText(value);
    if (!text) {
      writable = false;
      return;
    }
    request.entries.push_back({key, name, *text});
  }
}

// A key below the settings key: empty, or names of 1 to 255 units joined by
// backslashes, none with a control character or a "/" (which the tree would
// take for a path).
bool IsAcceptableKey(std::u16string_view key) {
  while (!key.empty()) {
    const std::size_t end = std::min(key.find(u'\\'), key.size());
    const std::u16string_view part = key.substr(0, end);
    if (part.empty() || part.size() > kMaxKeyNameUnits || HasControlCharacter(part) ||
        part.find(u'/') != std::u16string_view::npos)
      return false;
    if (end == key.size()) break;
    key.remove_prefix(end + 1);
    if (key.empty()) return false;  // a trailing backslash
  }
  return true;
}

// The value of a value text exactly as the tree's save writes it: reading
// it back and printing it again gives the same text. None for any other.
std::optional<Node::Value> SavedValue(std::u16string_view text) {
  const std::optional<ValueText> split = SplitValueText(text);
  if (!split) return std::nullopt;
  Node::Value value;
  if (split->type == ValueType::Float) {
    float number = 0.0f;
    if (!ReadFloatText(split->body, number)) return std::nullopt;
    value = Node::Value(number);
  } else if (split->type == ValueType::Int) {
    std::int32_t number = 0;
    if (!ReadIntText(split->body, number)) return std::nullopt;
    value = Node::Value(number);
  } else {
    if (split->body.empty() || split->body.find(u'\0') != std::u16string_view::npos)
      return std::nullopt;
    value = Node::Value(std::u16string(split->body));
  }
  const std::optional<std::u16string> again = FormatValueText(value);
  if (!again || *again != text) return std::nullopt;
  return value;
}

// The tree whose save writes exactly the entries; none when an entry is not
// what a save writes, or when two claim the same place (one value twice, or
// a value where another entry needs a subkey).
std::optional<Node> TreeOf(const SaveRequest& request) {
  Node settings;
  for (const SaveEntry& entry : request.entries) {
    if (!IsAcceptableKey(entry.key) || entry.name.size() > kMaxValueNameUnits ||
        HasControlCharacter(entry.name) || entry.name.find(u'/') != std::u16string::npos ||
        IsAppPath(entry.name))
      return std::nullopt;
    std::optional<Node::Value> value = SavedValue(entry.text);
    if (!value) return std::nullopt;
    std::u16string path = entry.key;
    std::replace(path.begin(), path.end(), u'\\', u'/');
    if (!path.empty()) path += u'/';
    path += entry.name;
    Node::Value* slot = nullptr;
    try {
      slot = &settings[path];
    } catch (const Node::KeyNotFound&) {
      return std::nullopt;  // the path runs through a value of an earlier entry
    }
    if (slot->type != ValueType::Unset) return std::nullopt;
    *slot = std::move(*value);
  }
  return settings;
}

// A list as the playlist editor saves it: each entry followed by a line
// feed, none empty, none longer than the editor reads, none a comment, no
// control characters in any (a path has none).
bool IsSavedPlaylist(std::u16string_view list) {
  while (!list.empty()) {
    const std::size_t end = list.find(u'\n');
    if (end == std::u16string_view::npos) return false;
    const std::u16string_view line = list.substr(0, end);
    if (line.empty() || line.size() > kMaxPlaylistLine || line.front() == u'#' ||
        HasControlCharacter(line))
      return false;
    list.remove_prefix(end + 1);
  }
  return true;
}

}  // namespace

std::optional<SaveRequest> SettingsRequestFor(const Node& settings) {
  SaveRequest request{SaveKind::Settings, {}};
  bool writable = true;
  Collect(settings, u"", request, writable);
  if (!writable) return std::nullopt;
  return request;
}

SaveRequest PlaylistRequestFor(std::u16string_view list) {
  return {SaveKind::Playlist, {{u"", std::u16string(kPlayListValue), std::u16string(list)}}};
}

std::vector<std::uint8_t> EncodeSaveRequest(const SaveRequest& request) {
  std::vector<std::uint8_t> out;
  PutWord(out, kMagic);
  PutWord(out, kVersion);
  PutWord(out, static_cast<std::uint32_t>(request.kind));
  PutWord(out, 0);  // the length, filled in below
  PutWord(out, static_cast<std::uint32_t>(request.entries.size()));
  for (const SaveEntry& entry : request.entries) {
    PutWord(out, static_cast<std::uint32_t>(entry.key.size()));
    PutWord(out, static_cast<std::uint32_t>(entry.name.size()));
    PutWord(out, static_cast<std::uint32_t>(entry.text.size()));
    PutText(out, entry.key);
    PutText(out, entry.name);
    PutText(out, entry.text);
  }
  const auto length = static_cast<std::uint32_t>(out.size());
  for (int i = 0; i < 4; ++i)
    out[12 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(length >> (8 * i));
  return out;
}

std::optional<SaveRequest> DecodeSaveRequest(std::span<const std::uint8_t> bytes) {
  Reader header(bytes);
  std::uint32_t magic = 0, version = 0, kind = 0, length = 0, count = 0;
  if (!header.Word(magic) || !header.Word(version) || !header.Word(kind) || !header.Word(length) ||
      !header.Word(count))
    return std::nullopt;
  if (magic != kMagic || version != kVersion || length < kHeaderBytes || length > bytes.size() ||
      length > kMaxSaveRequestBytes)
    return std::nullopt;
  if (kind != static_cast<std::uint32_t>(SaveKind::Settings) &&
      kind != static_cast<std::uint32_t>(SaveKind::Playlist))
    return std::nullopt;
  // Every entry takes its header at least, so the count cannot ask for more.
  if (count > (length - kHeaderBytes) / kEntryHeaderBytes) return std::nullopt;

  Reader reader(bytes.first(length));
  for (int skip = 0; skip < 5; ++skip) reader.Word(magic);
  SaveRequest request{static_cast<SaveKind>(kind), {}};
  request.entries.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t keyUnits = 0, nameUnits = 0, textUnits = 0;
    SaveEntry entry;
    if (!reader.Word(keyUnits) || !reader.Word(nameUnits) || !reader.Word(textUnits) ||
        !reader.Text(keyUnits, entry.key) || !reader.Text(nameUnits, entry.name) ||
        !reader.Text(textUnits, entry.text))
      return std::nullopt;
    request.entries.push_back(std::move(entry));
  }
  if (reader.Position() != length) return std::nullopt;  // more than the entries
  return request;
}

bool IsAcceptableSaveRequest(const SaveRequest& request) {
  if (request.kind == SaveKind::Playlist) {
    return request.entries.size() == 1 && request.entries[0].key.empty() &&
           request.entries[0].name == kPlayListValue && IsSavedPlaylist(request.entries[0].text);
  }
  return TreeOf(request).has_value();
}

bool WriteSaveRequest(const SaveRequest& request, RegistryPort& registry, SystemPort& system) {
  if (request.kind == SaveKind::Playlist) {
    return WriteRegistryString(registry, system, kHkeyLocalMachine, kSettingsKey, kPlayListValue,
                               request.entries.at(0).text, true) == kSOk;
  }
  // The tree the entries come from, saved as the user's instance would have.
  const std::optional<Node> settings = TreeOf(request);
  if (!settings) return false;
  return settings->SaveToRegistry(registry, kHkeyLocalMachine, kSettingsKey,
                                  RunsUnderWow64(system));
}

}  // namespace glimmer
