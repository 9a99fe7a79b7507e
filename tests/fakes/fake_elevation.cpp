#include "fakes/fake_elevation.h"

namespace glimmer::fakes {
namespace {

constexpr long kErrorFileNotFound2 = 2;
// The system rounds a mapping's view up to whole pages of zeros.
constexpr std::size_t kPage = 4096;

}  // namespace

const FakeElevation::Mapping* FakeElevation::Live(std::u16string_view name) const {
  const auto found = mappings_.find(std::u16string(name));
  if (found == mappings_.end() || !processes_.IsOpen(found->second.handle)) return nullptr;
  return &found->second;
}

bool FakeElevation::HasMapping(std::u16string_view name) const { return Live(name) != nullptr; }

bool FakeElevation::GetModuleFileName(std::u16string& path) {
  if (!moduleKnown) return false;
  path = modulePath;
  return true;
}

long FakeElevation::ShellExecuteRunAs(std::uint32_t mask, WindowHandle owner,
                                      std::u16string_view file, std::u16string_view parameters,
                                      OsHandle& process) {
  starts.push_back({mask, owner, std::u16string(file), std::u16string(parameters)});
  if (runAsResult != kErrorSuccess) return runAsResult;
  if (missingFiles.count(std::u16string(file))) return kErrorFileNotFound2;
  const std::uint32_t code = elevated ? elevated(starts.back()) : 1;
  process = processes_.OpenHandle(elevatedWait);
  exitCodes_[process] = code;
  return kErrorSuccess;
}

bool FakeElevation::GetExitCodeProcess(OsHandle process, std::uint32_t& code) {
  const auto found = exitCodes_.find(process);
  if (found == exitCodes_.end() || !processes_.IsOpen(process)) return false;
  // A process still running answers STILL_ACTIVE.
  code = elevatedWait == kWaitObject0 ? found->second : 259;
  return true;
}

long FakeElevation::CreateSharedMemory(std::u16string_view name,
                                       const std::vector<std::uint8_t>& bytes, OsHandle& section) {
  if (Live(name)) return kErrorAlreadyExists;
  Mapping mapping{processes_.OpenHandle(), bytes};
  mapping.bytes.resize((bytes.size() + kPage - 1) / kPage * kPage, 0);
  section = mapping.handle;
  mappings_[std::u16string(name)] = std::move(mapping);
  return kErrorSuccess;
}

long FakeElevation::ReadSharedMemory(std::u16string_view name, std::size_t maxSize,
                                     std::vector<std::uint8_t>& bytes) {
  const Mapping* mapping = Live(name);
  if (!mapping) return kErrorFileNotFound2;
  bytes.assign(mapping->bytes.begin(),
               mapping->bytes.begin() +
                   static_cast<std::ptrdiff_t>(std::min(maxSize, mapping->bytes.size())));
  return kErrorSuccess;
}

bool FakeElevation::GenerateRandom(std::uint8_t* buffer, std::uint32_t size) {
  if (randomFails) return false;
  ++randomCalls_;
  for (std::uint32_t i = 0; i < size; ++i)
    buffer[i] = static_cast<std::uint8_t>(randomCalls_ * 131 + i * 29 + (randomCalls_ >> 8));
  return true;
}

}  // namespace glimmer::fakes
