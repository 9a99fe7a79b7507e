#include "win32/file_win32.h"

#include <limits>

#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

static_assert(kCpAcp == CP_ACP && kCpUtf8 == CP_UTF8);
static_assert(sizeof(OsHandle) == sizeof(HANDLE));

OsHandle Win32Files::OpenForReading(std::u16string_view path) {
  // A path with a NUL would open the file named by its first part.
  if (path.find(u'\0') != std::u16string_view::npos) return 0;
  const HANDLE file =
      CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? 0 : reinterpret_cast<OsHandle>(file);
}

bool Win32Files::ReadFile(OsHandle file, std::uint8_t* buffer, std::uint32_t size,
                          std::uint32_t& read) {
  DWORD done = 0;
  const BOOL ok = ::ReadFile(reinterpret_cast<HANDLE>(file), buffer, size, &done, nullptr);
  read = done;
  return ok != FALSE;
}

bool Win32Files::CloseHandle(OsHandle file) {
  return ::CloseHandle(reinterpret_cast<HANDLE>(file)) != FALSE;
}

bool Win32Files::MultiByteToWideChar(std::uint32_t codePage, std::string_view bytes,
                                     std::u16string& text) {
  if (bytes.empty()) {
    text.clear();
    return true;
  }
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) return false;
  const int length = static_cast<int>(bytes.size());
  const int needed = ::MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return false;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (::MultiByteToWideChar(codePage, 0, bytes.data(), length, wide.data(), needed) != needed)
    return false;
  text = U16(wide);
  return true;
}

}  // namespace glimmer::win32
