// What the shell's elevated instance is asked to write: the values of the
// settings tree as its save would write them, or the playlist. The user's
// instance builds the request and encodes it; the elevated instance decodes
// it and checks every entry again before it writes anything, for it writes
// with an administrator's rights and must open onto this product's settings
// alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "config/node.h"
#include "platform/ports.h"
#include "platform/registry_port.h"

namespace glimmer {

// A request holds at most this many bytes; the playlist editor's longest
// lists fit many times over.
inline constexpr std::size_t kMaxSaveRequestBytes = 64u << 20;

enum class SaveKind : std::uint32_t { Settings = 1, Playlist = 2 };

// One value to write. key is the subkey below the settings key ("" for the
// key itself, "A\B" for nested ones); text is the value's data.
struct SaveEntry {
  std::u16string key;
  std::u16string name;
  std::u16string text;
  friend bool operator==(const SaveEntry&, const SaveEntry&) = default;
};

struct SaveRequest {
  SaveKind kind = SaveKind::Settings;
  std::vector<SaveEntry> entries;
  friend bool operator==(const SaveRequest&, const SaveRequest&) = default;
};

// The entries the tree's save writes, in its order: every number and every
// string that is not empty, each as its value text; never a value named
// "AppPath" in any spelling (the installer's). None when the save could not
// write one of them (a string too long for the loader).
std::optional<SaveRequest> SettingsRequestFor(const Node& settings);

// The "PlayList" value with the given text.
SaveRequest PlaylistRequestFor(std::u16string_view list);

// The request's bytes: a header with its length, then the entries.
std::vector<std::uint8_t> EncodeSaveRequest(const SaveRequest& request);

// The request the bytes hold, none when they are not exactly one request
// (truncated, oversized, another kind or version). Bytes past its length are
// the zeros of the memory it came in and are not looked at.
std::optional<SaveRequest> DecodeSaveRequest(std::span<const std::uint8_t> bytes);

// Whether the elevated instance may write the request: settings entries
// with keys below the settings key, names other than "AppPath", and value
// texts exactly as the save writes them; or the one "PlayList" entry holding
// a list as the playlist editor saves it.
bool IsAcceptableSaveRequest(const SaveRequest& request);

// Writes an acceptable request as the user's own save would have: the
// settings tree in its view, or the playlist. False at the first refused
// write, as the tree's save stops there.
bool WriteSaveRequest(const SaveRequest& request, RegistryPort& registry, SystemPort& system);

}  // namespace glimmer
