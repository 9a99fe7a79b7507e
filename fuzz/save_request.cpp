// Arbitrary bytes as the shared memory of the elevated instance, which
// holds them and the zeros up to the end of its last page. Whatever
// they hold, it writes only below the settings key, never "AppPath", and
// only a request that decodes and is acceptable; what it refuses leaves the
// registry untouched. A request that decodes encodes back to its own bytes.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

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

char16_t Fold(char16_t unit) { return unit >= u'a' && unit <= u'z' ? unit - 32 : unit; }

bool IsAppPath(std::u16string_view name) {
  if (name.size() != kAppPathValue.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i)
    if (Fold(name[i]) != Fold(kAppPathValue[i])) return false;
  return true;
}

bool BelowSettingsKey(std::u16string_view path) {
  return path.starts_with(kSettingsKey) &&
         (path.size() == kSettingsKey.size() || path[kSettingsKey.size()] == u'\\');
}

}  // namespace
}  // namespace glimmer

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace glimmer;
  const std::span<const std::uint8_t> bytes(data, size);
  if (const auto request = DecodeSaveRequest(bytes)) {
    const std::vector<std::uint8_t> again = EncodeSaveRequest(*request);
    Check(again.size() <= size && std::equal(again.begin(), again.end(), data));
  }

  fakes::FakeProcesses processes;
  fakes::FakeElevation elevation(processes);
  fakes::FakeRegistry registry;
  fakes::FakeSystem system;
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
  const int code = RunElevatedSave(token, elevation, registry, system);
  const auto request = DecodeSaveRequest(shared);
  const bool acceptable = request && IsAcceptableSaveRequest(*request);
  Check((code == kElevatedSaveWritten) == acceptable);
  if (!acceptable) Check(registry.AccessLog().empty());
  for (const auto& access : registry.AccessLog()) Check(BelowSettingsKey(access.path));
  for (const auto& name : registry.ValueNames(kHkeyLocalMachine, kSettingsKey))
    Check(!IsAppPath(name));
  Check(registry.OpenHandleCount() == 0);
  processes.CloseHandle(mapping);
  return 0;
}
