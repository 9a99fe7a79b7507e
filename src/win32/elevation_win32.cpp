#include "win32/elevation_win32.h"

// clang-format off
#include "win32/windows_api.h"
#include <bcrypt.h>
#include <sddl.h>
#include <shellapi.h>
// clang-format on

#include <cstring>
#include <memory>

#include "win32/owned_handle.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"

namespace glimmer::win32 {

static_assert(kErrorAlreadyExists == ERROR_ALREADY_EXISTS && kErrorCancelled == ERROR_CANCELLED);
static_assert(kSeeMaskClassName == SEE_MASK_CLASSNAME &&
              kSeeMaskNoCloseProcess == SEE_MASK_NOCLOSEPROCESS &&
              kSeeMaskNoAsync == SEE_MASK_NOASYNC && kSeeMaskFlagNoUi == SEE_MASK_FLAG_NO_UI &&
              kSeeMaskNoZoneChecks == SEE_MASK_NOZONECHECKS);
static_assert(kWaitObject0 == WAIT_OBJECT_0 && kWaitTimeout == WAIT_TIMEOUT &&
              kWaitFailed == WAIT_FAILED);

namespace {

struct ViewUnmapper {
  void operator()(const void* view) const { UnmapViewOfFile(view); }
};
using MappedView = std::unique_ptr<const void, ViewUnmapper>;

// This process's user as an SDDL SID string ("S-1-5-21-..."); empty when it
// cannot be told.
std::wstring UserSid() {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return {};
  const OwnedHandle token(rawToken);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return {};
  std::unique_ptr<BYTE[]> user(new BYTE[size]);
  if (!GetTokenInformation(token.get(), TokenUser, user.get(), size, &size)) return {};
  LPWSTR text = nullptr;
  if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user.get())->User.Sid, &text))
    return {};
  const std::unique_ptr<wchar_t, LocalFreer> owned(text);
  return text;
}

}  // namespace

bool Win32Elevation::GetModuleFileName(std::u16string& path) {
  std::wstring buffer(32768, L'\0');
  const DWORD length =
      GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return false;
  buffer.resize(length);
  path = U16(buffer);
  return true;
}

long Win32Elevation::ShellExecuteRunAs(std::uint32_t mask, WindowHandle owner,
                                       std::u16string_view file, std::u16string_view parameters,
                                       OsHandle& process) {
  const std::wstring wideFile = Wide(file);
  const std::wstring wideParameters = Wide(parameters);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = mask;
  info.hwnd = reinterpret_cast<HWND>(owner);
  info.lpVerb = L"runas";
  info.lpFile = wideFile.c_str();
  info.lpParameters = wideParameters.c_str();
  info.lpClass = L"exefile";
  info.nShow = SW_HIDE;
  constexpr LazyEntry<decltype(&::ShellExecuteExW)> shellExecute{SystemDll::Shell32,
                                                                 "ShellExecuteExW"};
  const auto entry = shellExecute.Get();
  if (entry == nullptr) return ERROR_PROC_NOT_FOUND;
  if (!entry(&info)) {
    const DWORD error = GetLastError();
    return error != ERROR_SUCCESS ? static_cast<long>(error) : ERROR_GEN_FAILURE;
  }
  if (info.hProcess == nullptr) return ERROR_GEN_FAILURE;
  process = reinterpret_cast<OsHandle>(info.hProcess);
  return ERROR_SUCCESS;
}

bool Win32Elevation::GetExitCodeProcess(OsHandle process, std::uint32_t& code) {
  DWORD exitCode = 0;
  if (!::GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &exitCode)) return false;
  code = exitCode;
  return true;
}

long Win32Elevation::CreateSharedMemory(std::u16string_view name,
                                        const std::vector<std::uint8_t>& bytes, OsHandle& section) {
  const std::wstring user = UserSid();
  if (user.empty() || bytes.empty()) return ERROR_INVALID_PARAMETER;
  // This user may read and write it, the Administrators (an elevation by
  // another account) read it, nobody else anything.
  const std::wstring sddl = L"D:P(A;;GA;;;" + user + L")(A;;GR;;;BA)";
  PSECURITY_DESCRIPTOR rawDescriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                            &rawDescriptor, nullptr))
    return static_cast<long>(GetLastError());
  const std::unique_ptr<void, LocalFreer> descriptor(rawDescriptor);
  SECURITY_ATTRIBUTES attributes{sizeof(attributes), rawDescriptor, FALSE};
  const std::wstring wideName = Wide(name);
  SetLastError(ERROR_SUCCESS);
  OwnedHandle mapping(CreateFileMappingW(INVALID_HANDLE_VALUE, &attributes, PAGE_READWRITE, 0,
                                         static_cast<DWORD>(bytes.size()), wideName.c_str()));
  if (!mapping) return static_cast<long>(GetLastError());
  // Someone made it before us: whatever it holds is not ours.
  if (GetLastError() == ERROR_ALREADY_EXISTS) return ERROR_ALREADY_EXISTS;
  void* view = MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, bytes.size());
  if (view == nullptr) return static_cast<long>(GetLastError());
  std::memcpy(view, bytes.data(), bytes.size());
  UnmapViewOfFile(view);
  section = reinterpret_cast<OsHandle>(mapping.release());
  return ERROR_SUCCESS;
}

long Win32Elevation::ReadSharedMemory(std::u16string_view name, std::size_t maxSize,
                                      std::vector<std::uint8_t>& bytes) {
  const std::wstring wideName = Wide(name);
  const OwnedHandle mapping(OpenFileMappingW(FILE_MAP_READ, FALSE, wideName.c_str()));
  if (!mapping) return static_cast<long>(GetLastError());
  const MappedView view(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
  if (!view) return static_cast<long>(GetLastError());
  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQuery(view.get(), &region, sizeof(region)) == 0)
    return static_cast<long>(GetLastError());
  const std::size_t size = std::min<std::size_t>(region.RegionSize, maxSize);
  const auto* start = static_cast<const std::uint8_t*>(view.get());
  bytes.assign(start, start + size);
  return ERROR_SUCCESS;
}

bool Win32Elevation::GenerateRandom(std::uint8_t* buffer, std::uint32_t size) {
  // From bcrypt.dll in the system folder, loaded now: advapi32's RtlGenRandom
  // is forwarded on Windows to a DLL that is not a known one, and an import
  // of it would be looked up beside the shell before wWinMain narrows the
  // search.
  constexpr LazyEntry<decltype(&::BCryptGenRandom)> generate{SystemDll::BCrypt, "BCryptGenRandom"};
  constexpr NTSTATUS kStatusSuccess = 0;
  return generate.CallOr(NTSTATUS{-1}, nullptr, buffer, static_cast<ULONG>(size),
                         static_cast<ULONG>(BCRYPT_USE_SYSTEM_PREFERRED_RNG)) == kStatusSuccess;
}

}  // namespace glimmer::win32
