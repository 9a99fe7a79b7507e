#include "elevation/save_request.h"

#include <algorithm>
#include <memory>

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
// The registry's longest key name, and the longest value name the tree's
// loader reads: a longer one can be neither a setting nor held.
constexpr std::size_t kMaxKeyNameUnits = 255;
constexpr std::size_t kMaxValueNameUnits = 2047;
constexpr std::size_t kMaxKeyUnits = kMaxKeyDepth * (kMaxKeyNameUnits + 1) - 1;

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

// Reads the bytes front to back; every read checks what is left before it
// takes or allocates anything.
class Reader {
 public:
  Reader(std::span<const std::uint8_t> bytes, std::size_t at) : bytes_(bytes), at_(at) {}
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
  std::size_t at_;
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

// No control character (the registry functions would end a name at a NUL),
// no "/" (the tree reads it as a path), and never "AppPath".
bool IsPlainName(std::u16string_view name) {
  return !HasControlCharacter(name) && name.find(u'/') == std::u16string_view::npos &&
         !IsAppPath(name);
}

bool IsKeyName(std::u16string_view name) {
  return !name.empty() && name.size() <= kMaxKeyNameUnits &&
         name.find(u'\\') == std::u16string_view::npos && IsPlainName(name);
}

bool IsValueName(std::u16string_view name) {
  return name.size() <= kMaxValueNameUnits && IsPlainName(name);
}

void Collect(const Node& node, const std::u16string& key, std::size_t depth, SaveRequest& request,
             bool& writable) {
  for (const auto& [name, value] : node.children) {
    if (const Node* child = value.AsSubtree()) {
      if (depth < kMaxKeyDepth && IsKeyName(name))
        Collect(*child, key.empty() ? name : key + u"\\" + name, depth + 1, request, writable);
      continue;
    }
    if (value.type != ValueType::Float && value.type != ValueType::Int &&
        value.type != ValueType::String)
      continue;
    if (value.type == ValueType::String && value.stringValue.empty()) continue;
    if (!IsValueName(name)) continue;
    const std::optional<std::u16string> text = FormatValueText(value);
    if (!text) {
      writable = false;
      return;
    }
    request.entries.push_back({key, name, *text});
  }
}

// The key's components, none when it is not a key below the settings key
// at most kMaxKeyDepth deep.
std::optional<std::vector<std::u16string_view>> KeyComponents(std::u16string_view key) {
  std::vector<std::u16string_view> components;
  if (key.empty()) return components;
  for (;;) {
    const std::size_t end = std::min(key.find(u'\\'), key.size());
    if (components.size() == kMaxKeyDepth || !IsKeyName(key.substr(0, end))) return std::nullopt;
    components.push_back(key.substr(0, end));
    if (end == key.size()) return components;
    key.remove_prefix(end + 1);
  }
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

// The value held at the components and name, walked name by name.
const Node::Value* HeldValue(const Node& held, const std::vector<std::u16string_view>& components,
                             std::u16string_view name) {
  const Node* node = &held;
  for (const std::u16string_view component : components) {
    const auto found = node->children.find(component);
    if (found == node->children.end() || !(node = found->second.AsSubtree())) return nullptr;
  }
  const auto found = node->children.find(name);
  return found != node->children.end() ? &found->second : nullptr;
}

bool MayWrite(const Node& held, const std::vector<std::u16string_view>& components,
              const SaveEntry& entry, const Node::Value& value) {
  if (components.empty() && value.type == ValueType::Int &&
      IsSettingValue(entry.name, value.intValue))
    return true;
  const Node::Value* now = HeldValue(held, components, entry.name);
  if (now == nullptr) return false;
  const std::optional<std::u16string> heldText = FormatValueText(*now);
  return heldText && *heldText == entry.text;
}

// The tree whose save writes exactly the entries, built component by
// component; none when an entry may not be written, or when two claim the
// same place (one value twice, or a value where another entry needs a
// subkey).
std::optional<Node> TreeOf(const SaveRequest& request, const Node& held) {
  // The dialog always writes its settings; an empty request would only
  // create the key.
  if (request.entries.empty()) return std::nullopt;
  Node settings;
  for (const SaveEntry& entry : request.entries) {
    const std::optional<std::vector<std::u16string_view>> components = KeyComponents(entry.key);
    if (!components || !IsValueName(entry.name)) return std::nullopt;
    std::optional<Node::Value> value = SavedValue(entry.text);
    if (!value || !MayWrite(held, *components, entry, *value)) return std::nullopt;
    Node* node = &settings;
    for (const std::u16string_view component : *components) {
      const auto [slot, added] = node->children.try_emplace(std::u16string(component));
      if (added) slot->second = Node::Value(std::make_unique<Node>());
      if (!(node = slot->second.AsSubtree())) return std::nullopt;
    }
    const auto [slot, added] = node->children.try_emplace(entry.name);
    if (!added) return std::nullopt;
    slot->second = std::move(*value);
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
  Collect(settings, u"", 0, request, writable);
  if (!writable || request.entries.size() > kMaxSaveEntries ||
      EncodeSaveRequest(request).size() > kMaxSettingsRequestBytes)
    return std::nullopt;
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
  Reader header(bytes, 0);
  std::uint32_t magic = 0, version = 0, kind = 0, length = 0, count = 0;
  if (!header.Word(magic) || !header.Word(version) || !header.Word(kind) || !header.Word(length) ||
      !header.Word(count))
    return std::nullopt;
  if (magic != kMagic || version != kVersion) return std::nullopt;
  std::size_t limit = 0;
  std::size_t longestText = 0;
  if (kind == static_cast<std::uint32_t>(SaveKind::Settings)) {
    limit = kMaxSettingsRequestBytes;
    longestText = kValueTextCapacity;
  } else if (kind == static_cast<std::uint32_t>(SaveKind::Playlist)) {
    limit = longestText = kMaxSaveRequestBytes;
  } else {
    return std::nullopt;
  }
  if (length < kHeaderBytes || length > bytes.size() || length > limit) return std::nullopt;
  // Past the request only the zeros of the page it ends in.
  if (std::any_of(bytes.begin() + length, bytes.end(), [](std::uint8_t byte) { return byte != 0; }))
    return std::nullopt;
  // Every entry takes its header at least, so the count cannot ask for more.
  if (count > kMaxSaveEntries || count > (length - kHeaderBytes) / kEntryHeaderBytes)
    return std::nullopt;

  Reader reader(bytes.first(length), kHeaderBytes);
  SaveRequest request{static_cast<SaveKind>(kind), {}};
  request.entries.reserve(count);
  for (std::uint32_t i = 0; i < count; ++i) {
    std::uint32_t keyUnits = 0, nameUnits = 0, textUnits = 0;
    if (!reader.Word(keyUnits) || !reader.Word(nameUnits) || !reader.Word(textUnits) ||
        keyUnits > kMaxKeyUnits || nameUnits > kMaxValueNameUnits || textUnits > longestText)
      return std::nullopt;
    SaveEntry entry;
    if (!reader.Text(keyUnits, entry.key) || !reader.Text(nameUnits, entry.name) ||
        !reader.Text(textUnits, entry.text))
      return std::nullopt;
    request.entries.push_back(std::move(entry));
  }
  if (reader.Position() != length) return std::nullopt;  // more than the entries
  return request;
}

Node HeldSettings(RegistryPort& registry, SystemPort& system) {
  Node held;
  held.LoadFromRegistry(registry, kHkeyLocalMachine, kSettingsKey, RunsUnderWow64(system));
  return held;
}

bool IsAcceptableSaveRequest(const SaveRequest& request, const Node& held) {
  if (request.kind == SaveKind::Playlist) {
    return request.entries.size() == 1 && request.entries[0].key.empty() &&
           request.entries[0].name == kPlayListValue && IsSavedPlaylist(request.entries[0].text);
  }
  return TreeOf(request, held).has_value();
}

bool WriteSaveRequest(const SaveRequest& request, const Node& held, RegistryPort& registry,
                      SystemPort& system) {
  if (request.kind == SaveKind::Playlist) {
    return IsAcceptableSaveRequest(request, held) &&
           WriteRegistryString(registry, system, kHkeyLocalMachine, kSettingsKey, kPlayListValue,
                               request.entries[0].text, true) == kSOk;
  }
  // The tree the entries come from, saved as the user's instance would have.
  const std::optional<Node> settings = TreeOf(request, held);
  return settings && settings->SaveToRegistry(registry, kHkeyLocalMachine, kSettingsKey,
                                              RunsUnderWow64(system));
}

}  // namespace glimmer
