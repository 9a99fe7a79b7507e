#include "elevation/elevated_save.h"

#include <array>

#include "platform/product.h"
#include "platform/system.h"
#include "platform/text.h"

namespace glimmer {
namespace {

constexpr std::u16string_view kMappingPrefix = u"Local\\GlimmerdaleSaveRequest-";

bool IsLowerHex(char16_t unit) {
  return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'f');
}

std::optional<std::u16string> NewToken(ElevationPort& elevation) {
  std::array<std::uint8_t, kRequestTokenLength / 2> random{};
  if (!elevation.GenerateRandom(random.data(), static_cast<std::uint32_t>(random.size())))
    return std::nullopt;
  constexpr char16_t kDigits[] = u"0123456789abcdef";
  std::u16string token;
  for (const std::uint8_t byte : random) {
    token += kDigits[byte >> 4];
    token += kDigits[byte & 0xF];
  }
  return token;
}

}  // namespace

bool SettingsKeyWritable(RegistryPort& registry, SystemPort& system) {
  const std::uint32_t view = RunsUnderWow64(system) ? kKeyWow64_64Key : 0;
  std::u16string key(kSettingsKey);
  std::uint32_t access = kKeySetValue;
  for (;;) {
    RegKey opened = 0;
    const long status = registry.OpenKey(kHkeyLocalMachine, key, access | view, opened);
    if (status == kErrorSuccess) {
      registry.CloseKey(opened);
      return true;
    }
    if (status != kErrorFileNotFound || key.empty()) return status != kErrorAccessDenied;
    // Missing: the save would create it, below its nearest existing parent.
    const std::u16string parent = FolderOfPath(key);
    key = parent.empty() ? u"" : parent.substr(0, parent.size() - 1);
    access = kKeyCreateSubKey;
  }
}

std::optional<std::u16string> ElevatedSaveToken(std::u16string_view commandLine) {
  // The program's own path, as the command line's parser skips it.
  std::size_t end = 0;
  if (!commandLine.empty() && commandLine[0] == u'"') {
    end = commandLine.find(u'"', 1);
    if (end == std::u16string_view::npos) return std::nullopt;
    ++end;
  } else {
    end = commandLine.find(u' ');
    if (end == std::u16string_view::npos) return std::nullopt;
  }
  std::u16string_view rest = commandLine.substr(end);
  const std::u16string prefix = u" " + std::u16string(kElevatedSaveOption) + u" ";
  if (!rest.starts_with(prefix)) return std::nullopt;
  rest.remove_prefix(prefix.size());
  if (rest.size() != kRequestTokenLength) return std::nullopt;
  for (const char16_t unit : rest)
    if (!IsLowerHex(unit)) return std::nullopt;
  return std::u16string(rest);
}

std::u16string RequestMappingName(std::u16string_view token) {
  return std::u16string(kMappingPrefix) + std::u16string(token);
}

bool SaveElevated(const SaveRequest& request, const ElevationPorts& ports, WindowHandle owner) {
  std::u16string program;
  if (!ports.elevation.GetModuleFileName(program)) return false;
  const std::optional<std::u16string> token = NewToken(ports.elevation);
  if (!token) return false;

  OsHandle rawMapping = 0;
  if (ports.elevation.CreateSharedMemory(RequestMappingName(*token), EncodeSaveRequest(request),
                                         rawMapping) != kErrorSuccess)
    return false;
  // Kept open until the elevated instance has ended: the mapping lives as
  // long as a handle to it does, and no longer.
  const HandleOwner<ProcessPort> mapping(ports.processes, rawMapping);

  OsHandle rawProcess = 0;
  const std::u16string parameters = std::u16string(kElevatedSaveOption) + u" " + *token;
  if (ports.elevation.ShellExecuteRunAs(kElevatedStartMask, owner, program, parameters,
                                        rawProcess) != kErrorSuccess ||
      rawProcess == 0)
    return false;  // declined (kErrorCancelled), or it could not start
  const HandleOwner<ProcessPort> process(ports.processes, rawProcess);
  if (ports.processes.WaitForSingleObject(process.get(), kElevatedSaveTimeoutMs) != kWaitObject0)
    return false;
  std::uint32_t code = 0;
  return ports.elevation.GetExitCodeProcess(process.get(), code) &&
         code == static_cast<std::uint32_t>(kElevatedSaveWritten);
}

int RunElevatedSave(std::u16string_view token, ElevationPort& elevation, RegistryPort& registry,
                    SystemPort& system) {
  // Read once, whole: whatever the mapping holds afterwards is not looked
  // at. A page more than the longest request shows what lies past it.
  std::vector<std::uint8_t> bytes;
  if (elevation.ReadSharedMemory(RequestMappingName(token), kMaxSaveRequestBytes + 4096, bytes) !=
      kErrorSuccess)
    return kElevatedSaveNoRequest;
  const std::optional<SaveRequest> request = DecodeSaveRequest(bytes);
  if (!request) return kElevatedSaveRefused;
  // What the key holds now, once: the check and the write judge the same.
  const Node held = request->kind == SaveKind::Settings ? HeldSettings(registry, system) : Node();
  if (!IsAcceptableSaveRequest(*request, held)) return kElevatedSaveRefused;
  return WriteSaveRequest(*request, held, registry, system) ? kElevatedSaveWritten
                                                            : kElevatedSaveNotWritten;
}

}  // namespace glimmer
