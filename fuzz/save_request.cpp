// Arbitrary bytes as the shared memory of the elevated instance, which
// holds them and the zeros up to the end of its last page, against a
// settings key that holds values of the installer, of the dialog and of
// nobody the product knows. Whatever the bytes hold, every value that is new
// or changed afterwards is a setting with a number the dialog can write, or
// the playlist of a playlist request; "AppPath" and every key stay as they
// were; nothing changes unless the exit code is 0. A request that decodes
// encodes back to its own bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "config/value_text.h"
#include "elevation/elevated_save.h"
#include "fakes/fake_elevation.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "platform/product.h"
#include "platform/registry.h"

namespace glimmer {
namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Every key below the settings key (as a value named "\\") and every value,
// by key path and name, with its bytes.
using Snapshot = std::map<std::pair<std::u16string, std::u16string>, std::vector<std::uint8_t>>;

void Take(fakes::FakeRegistry& registry, const std::u16string& path, std::size_t longest,
          Snapshot& snapshot) {
  RegKey key = 0;
  if (registry.OpenKey(kHkeyLocalMachine, path, kKeyRead, key) != kErrorSuccess) return;
  snapshot[{path, u"\\"}] = {};
  std::vector<char16_t> name(2048);
  std::vector<std::uint8_t> data(longest);
  for (std::uint32_t index = 0;; ++index) {
    std::uint32_t nameLength = static_cast<std::uint32_t>(name.size());
    std::uint32_t type = 0;
    std::uint32_t size = static_cast<std::uint32_t>(data.size());
    if (registry.EnumValue(key, index, name.data(), &nameLength, &type, data.data(), &size) !=
        kErrorSuccess)
      break;
    snapshot[{path, std::u16string(name.data(), nameLength)}] =
        std::vector<std::uint8_t>(data.begin(), data.begin() + size);
  }
  std::vector<std::u16string> subkeys;
  for (std::uint32_t index = 0;
       registry.EnumKey(key, index, name.data(), static_cast<std::uint32_t>(name.size())) ==
       kErrorSuccess;
       ++index)
    subkeys.emplace_back(name.data());
  registry.CloseKey(key);
  for (const std::u16string& subkey : subkeys)
    Take(registry, path + u"\\" + subkey, longest, snapshot);
}

// longest: the most bytes a value can hold.
Snapshot Take(fakes::FakeRegistry& registry, std::size_t longest) {
  Snapshot snapshot;
  Take(registry, std::u16string(kSettingsKey), longest, snapshot);
  return snapshot;
}

bool IsDialogSetting(std::u16string_view name, const std::vector<std::uint8_t>& data) {
  const std::u16string text = TextFromRegistryBytes(data.data(), data.size());
  const std::optional<ValueText> split = SplitValueText(text);
  std::int32_t number = 0;
  return split && split->type == ValueType::Int && ReadIntText(split->body, number) &&
         FormatValueText(Node::Value(number)) == text && IsSettingValue(name, number);
}

bool IsEditorList(const std::vector<std::uint8_t>& data) {
  const std::u16string text = TextFromRegistryBytes(data.data(), data.size());
  std::u16string_view list = text;
  while (!list.empty()) {
    const std::size_t end = list.find(u'\n');
    if (end == 0 || end == std::u16string_view::npos || end > kMaxPlaylistLine ||
        list.front() == u'#')
      return false;
    list.remove_prefix(end + 1);
  }
  return true;
}

}  // namespace
}  // namespace glimmer

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glimmer;
  if (const auto request = DecodeSaveRequest(std::span<const std::uint8_t>(data, size))) {
    const std::vector<std::uint8_t> again = EncodeSaveRequest(*request);
    Check(again.size() <= size && std::equal(again.begin(), again.end(), data) &&
          std::all_of(data + again.size(), data + size, [](std::uint8_t b) { return b == 0; }));
  }

  fakes::FakeProcesses processes;
  fakes::FakeElevation elevation(processes);
  fakes::FakeRegistry registry;
  fakes::FakeSystem system;
  const std::u16string key(kSettingsKey);
  registry.PutString(kHkeyLocalMachine, key, kAppPathValue, u"C:\\Glimmerdale");
  registry.PutString(kHkeyLocalMachine, key, u"Language", u"3: de");
  registry.PutString(kHkeyLocalMachine, key, u"ShowFPS", u"2: 1");
  registry.PutString(kHkeyLocalMachine, key, u"Unknown", u"1: 0.500000");
  registry.PutString(kHkeyLocalMachine, key, kPlayListValue, u"C:\\a.mp3\n");
  registry.PutString(kHkeyLocalMachine, key + u"\\Sub", u"", u"3: x");
  registry.PutString(kHkeyLocalMachine, key + u"\\Sub", u"n", u"2: -7");
  const Snapshot before = Take(registry, size + 64);

  const std::u16string token(kRequestTokenLength, u'a');
  OsHandle mapping = 0;
  if (size == 0 || elevation.CreateSharedMemory(RequestMappingName(token),
                                                std::vector<std::uint8_t>(data, data + size),
                                                mapping) != kErrorSuccess)
    return 0;
  // What the instance reads: the input and the zeros of the page it ends in.
  std::vector<std::uint8_t> shared;
  Check(elevation.ReadSharedMemory(RequestMappingName(token), kMaxSaveRequestBytes, shared) ==
        kErrorSuccess);
  const auto request = DecodeSaveRequest(shared);
  const int code = RunElevatedSave(token, elevation, registry, system);
  processes.CloseHandle(mapping);
  Check(code == kElevatedSaveWritten || code == kElevatedSaveRefused);
  Check(code == kElevatedSaveRefused || request);

  const Snapshot after = Take(registry, size + 64);
  if (code != kElevatedSaveWritten) Check(after == before);
  for (const auto& [place, value] : after) {
    const auto held = before.find(place);
    if (held != before.end() && held->second == value) continue;
    const auto& [path, name] = place;
    Check(path == key);  // no key is made, nothing below one changes
    if (request->kind == SaveKind::Playlist)
      Check(name == kPlayListValue && IsEditorList(value));
    else
      Check(IsDialogSetting(name, value));
  }
  Check(registry.OpenHandleCount() == 0);
  return 0;
}
