// What the shell's elevated instance is asked to write: the values of the
// settings tree as its save would write them, or the playlist. The user's
// instance builds the request and encodes it; the elevated instance decodes
// it and checks every entry before it writes anything. Any process of the
// user can start that instance with a request of its own making, so the
// check is the whole boundary: it accepts only what the settings dialog
// itself could have written.
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

// Limits, checked before anything is allocated for what they bound. A
// playlist request holds at most kMaxSaveRequestBytes (the editor's longest
// lists fit many times over), a settings request kMaxSettingsRequestBytes,
// kMaxSaveEntries values and keys kMaxKeyDepth deep (the product's own
// settings have no subkeys at all).
inline constexpr std::size_t kMaxSaveRequestBytes = 64u << 20;
inline constexpr std::size_t kMaxSettingsRequestBytes = 1u << 20;
inline constexpr std::size_t kMaxSaveEntries = 4096;
inline constexpr std::size_t kMaxKeyDepth = 16;

enum class SaveKind : std::uint32_t { Settings = 1, Playlist = 2 };

// One value to write. key names the subkey below the settings key by its
// components joined with backslashes ("" for the key itself, "A\B" for B
// in A); a component is a registry key name, so it holds no backslash.
// name is the value's name; "" is the key's default value, in the request
// as in the tree (a child named "") and in the registry. text is the value's
// data.
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
// string that is not empty, each as its value text. Left out, as the
// elevated instance would refuse them and they are in the key already:
// "AppPath" in any spelling (the installer's), names no registry key or
// loaded value can have, and keys deeper than kMaxKeyDepth. None when the
// save could not write one of the values (a string too long for the loader)
// or the request would be larger than its limits.
std::optional<SaveRequest> SettingsRequestFor(const Node& settings);

// The "PlayList" value with the given text.
SaveRequest PlaylistRequestFor(std::u16string_view list);

// The request's bytes: a header with its length, then the entries.
std::vector<std::uint8_t> EncodeSaveRequest(const SaveRequest& request);

// The request the bytes hold, none when they are not exactly one request
// within the limits: truncated, oversized, another kind or version, or
// anything but zeros after it (the rest of the memory page it came in).
std::optional<SaveRequest> DecodeSaveRequest(std::span<const std::uint8_t> bytes);

// The settings key as the settings tree reads it now, in the view the
// tree's save writes.
Node HeldSettings(RegistryPort& registry, SystemPort& system);

// Whether the elevated instance may write the request, given what the key
// holds now. A settings request: at least one entry, each a value text exactly as the
// tree's save writes it, in its own place (no value twice, no value where a
// subkey goes), never "AppPath", and either a setting of the settings table
// with a number the dialog can write, or the very value held there now (the
// save writes back what it loaded; such an entry changes nothing). A
// playlist request: the one "PlayList" entry, holding a list as the
// playlist editor saves it.
bool IsAcceptableSaveRequest(const SaveRequest& request, const Node& held);

// Writes an acceptable request as the user's own save would have: the
// settings tree in its view, or the playlist. False when the request is not
// acceptable, and at the first refused write, as the tree's save stops there.
bool WriteSaveRequest(const SaveRequest& request, const Node& held, RegistryPort& registry,
                      SystemPort& system);

}  // namespace glimmer
