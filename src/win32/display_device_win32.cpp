#include "win32/display_device_win32.h"

#include <string>

#include "win32/wide.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {
namespace {

static_assert(kDisplayDeviceAttachedToDesktop == DISPLAY_DEVICE_ATTACHED_TO_DESKTOP);
static_assert(kDisplayDevicePrimaryDevice == DISPLAY_DEVICE_PRIMARY_DEVICE);
static_assert(kDisplayDeviceMirroringDriver == DISPLAY_DEVICE_MIRRORING_DRIVER);
static_assert(kDisplayDeviceASize == sizeof(DISPLAY_DEVICEA));
static_assert(kSmCyScreen == SM_CYSCREEN && kSmCyFullScreen == SM_CYFULLSCREEN);

// A fixed CHAR array up to its first NUL, never past its end.
template <std::size_t N>
std::string FieldText(const CHAR (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') ++length;
  return std::string(field, length);
}

}  // namespace

bool Win32DisplayDevices::EnumDisplayDevicesA(std::uint32_t index, DisplayDeviceA& device) {
  DISPLAY_DEVICEA raw{};
  raw.cb = sizeof(raw);
  if (!::EnumDisplayDevicesA(nullptr, index, &raw, 0)) return false;
  device.deviceName = FieldText(raw.DeviceName);
  device.deviceString = FieldText(raw.DeviceString);
  device.stateFlags = raw.StateFlags;
  device.deviceId = FieldText(raw.DeviceID);
  device.deviceKey = FieldText(raw.DeviceKey);
  return true;
}

std::u16string Win32DisplayDevices::MultiByteToWideChar(std::string_view text) {
  // A NUL-terminated copy, so that the -1 length stops where the text ends.
  const std::string terminated(text);
  const int needed = ::MultiByteToWideChar(CP_ACP, 0, terminated.c_str(), -1, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  const int written = ::MultiByteToWideChar(CP_ACP, 0, terminated.c_str(), -1, wide.data(), needed);
  if (written <= 0) return {};
  wide.resize(static_cast<std::size_t>(written) - 1);  // the terminator
  return U16(wide);
}

std::int32_t Win32DisplayDevices::GetSystemMetrics(std::int32_t index) {
  return ::GetSystemMetrics(index);
}

}  // namespace glimmer::win32
