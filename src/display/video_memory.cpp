#include "display/video_memory.h"

#include <limits>
#include <optional>
#include <vector>

#include "display/directdraw_port.h"
#include "display/display_device_port.h"
#include "display/wmi_port.h"
#include "platform/product.h"
#include "platform/system.h"

namespace glimmer {
namespace {

constexpr std::u16string_view kPnpDeviceId = u"PNPDeviceID";
constexpr std::u16string_view kAdapterRam = u"AdapterRAM";

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Display device names are ASCII ("\\.\DISPLAY1"); DirectDraw may report
// them in another letter case than User32.
bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

// At most limit code units, never ending inside a surrogate pair.
std::u16string KeepWholeUnits(std::u16string text, std::size_t limit) {
  if (text.size() <= limit) return text;
  std::size_t end = limit;
  if (end > 0 && text[end - 1] >= 0xD800 && text[end - 1] <= 0xDBFF) --end;
  text.resize(end);
  return text;
}

bool IsWcstolSpace(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// The DirectDraw device found for the wanted monitor; only its driver name
// is needed to find the display device.
struct MonitorMatch {
  MonitorHandle monitor = 0;
  std::string driverName;
  bool found = false;
};

// Closes COM on this thread again when opening it succeeded (S_FALSE counts:
// it was already open, and the open must still be balanced).
class ComApartment {
 public:
  ComApartment() : initialised_(Succeeded(WmiApi().CoInitialize())) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialised_) WmiApi().CoUninitialize();
  }

 private:
  bool initialised_;
};

bool AdapterRamOf(WbemClassObject& controller, std::uint32_t& bytes) {
  WmiValue value;
  if (!Succeeded(controller.Get(kAdapterRam, value))) return false;
  // WMI hands a uint32 property over as VT_I4; its bits are the number.
  if (value.type != kVtI4 && value.type != kVtUi4) return false;
  bytes = value.bits;
  return true;
}

// The WMI part proper. Every object it creates is released when it returns,
// in the reverse order of creation, before COM is closed by the caller.
HResult AdapterRamFromWmi(const std::optional<std::u16string>& deviceId, std::uint32_t& bytes) {
  std::unique_ptr<WbemLocator> locator;
  if (!Succeeded(WmiApi().CreateWbemLocator(locator)) || !locator) return kEFail;
  std::unique_ptr<WbemServices> services;
  if (!Succeeded(locator->ConnectServer(kWmiNamespace, services)) || !services) return kEFail;
  // Without this blanket the calls into the WMI service may be refused.
  if (std::unique_ptr<ProxyBlanketEntry> blanket = WmiApi().LoadCoSetProxyBlanket()) {
    blanket->CoSetProxyBlanket(*services, kRpcCAuthnWinnt, kRpcCAuthzNone, kRpcCAuthnLevelCall,
                               kRpcCImpLevelImpersonate, kEoacNone);
  }
  std::unique_ptr<EnumWbemClassObject> enumerator;
  if (!Succeeded(services->CreateInstanceEnum(kVideoControllerClass, 0, enumerator)) || !enumerator)
    return kEFail;
  enumerator->Reset();
  // One batch only: a machine has few controllers, and the wait is bounded.
  std::vector<std::unique_ptr<WbemClassObject>> controllers;
  enumerator->Next(kWmiFetchTimeoutMs, kWmiFetchCount, controllers);
  if (controllers.size() > kWmiFetchCount) controllers.resize(kWmiFetchCount);
  for (std::unique_ptr<WbemClassObject>& controller : controllers) {
    if (!controller) continue;
    WmiValue pnp;
    // The PNPDeviceID carries an instance suffix after the display device's
    // ID ("PCI\VEN_10DE&DEV_1B80&SUBSYS_...\4&2A...").
    const bool matches = Succeeded(controller->Get(kPnpDeviceId, pnp)) && pnp.type == kVtBstr &&
                         deviceId && pnp.text.find(*deviceId) != std::u16string::npos;
    if (!matches) {
      controller.reset();
      continue;
    }
    return AdapterRamOf(*controller, bytes) ? kSOk : kEFail;
  }
  return kEFail;
}

}  // namespace

std::int32_t MonitorIndexFromValueText(std::u16string_view text) {
  // The value text is "<type digit>: <number>"; the number starts at the third unit.
  if (text.size() < 2) return 0;
  std::u16string_view rest = text.substr(2);
  std::size_t at = 0;
  while (at < rest.size() && IsWcstolSpace(rest[at])) ++at;
  bool negative = false;
  if (at < rest.size() && (rest[at] == u'+' || rest[at] == u'-')) negative = rest[at++] == u'-';
  // wcstol saturates at the range of a 32-bit long.
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;
  std::int64_t magnitude = 0;
  for (; at < rest.size() && rest[at] >= u'0' && rest[at] <= u'9'; ++at) {
    magnitude = magnitude * 10 + (rest[at] - u'0');
    if (magnitude > kLimit) magnitude = kLimit;
  }
  if (negative) return static_cast<std::int32_t>(-magnitude);
  return static_cast<std::int32_t>(magnitude > std::numeric_limits<std::int32_t>::max()
                                       ? std::numeric_limits<std::int32_t>::max()
                                       : magnitude);
}

HResult DisplayDeviceIdOfMonitor(MonitorHandle monitor, std::u16string& id) {
  // Freed on every way out of this function.
  const std::unique_ptr<DirectDrawModule> ddraw = DirectDrawApi().LoadDirectDraw();
  if (!ddraw) return kEFail;

  MonitorMatch match;
  match.monitor = monitor;
  if (ddraw->HasEntry(kDirectDrawEnumerateExA)) {
    ddraw->DirectDrawEnumerateExA(
        [&match](const DirectDrawDeviceInfo& device) {
          if (device.monitor == match.monitor) {
            match.found = true;
            match.driverName = device.driverName.substr(0, kDriverNameCapacity - 1);
          }
          return true;  // the last matching device wins
        },
        kDdEnumAttachedSecondaryDevices);
  }
  if (!match.found) return kEFail;

  DisplayDeviceA device;
  for (std::uint32_t index = 0; DisplayDeviceApi().EnumDisplayDevicesA(index, device); ++index) {
    if ((device.stateFlags & kDisplayDeviceMirroringDriver) != 0) continue;
    if ((device.stateFlags & kDisplayDeviceAttachedToDesktop) == 0) continue;
    if (!SameNameIgnoringCase(device.deviceName, match.driverName)) continue;
    id = KeepWholeUnits(DisplayDeviceApi().MultiByteToWideChar(device.deviceId),
                        kDisplayDeviceIdCapacity - 1);
    return kSOk;
  }
  return kEFail;
}

HResult VideoMemoryFromWmi(MonitorHandle monitor, std::uint32_t& bytes) {
  bytes = 0;
  std::optional<std::u16string> deviceId;
  std::u16string id;
  if (DisplayDeviceIdOfMonitor(monitor, id) == kSOk) deviceId = std::move(id);
  const ComApartment com;
  return AdapterRamFromWmi(deviceId, bytes);
}

std::uint32_t VideoMemoryFromDirectDraw() {
  const std::unique_ptr<DirectDrawModule> ddraw = DirectDrawApi().LoadDirectDraw();
  if (!ddraw || !ddraw->HasEntry(kDirectDrawCreateEx)) return 0;
  // Declared after the module, so it is released before the library is freed.
  std::unique_ptr<DirectDraw7> directDraw;
  if (!Succeeded(ddraw->DirectDrawCreateEx(directDraw)) || !directDraw) return 0;
  DdsCaps2 caps;
  caps.caps = kDdsCapsVideoMemory;
  std::uint32_t total = 0;
  if (!Succeeded(directDraw->GetAvailableVidMem(caps, &total, nullptr))) return 0;
  return total;
}

std::uint32_t DetectVideoMemory() {
  if (std::unique_ptr<Direct3D9> direct3d = Direct3D9Api().Direct3DCreate9(kD3dSdkVersion)) {
    // Read straight from the registry: at dialog start the saved settings are
    // loaded only after the defaults are set.
    std::u16string saved;
    ReadRegistryString(kHkeyLocalMachine, kSettingsKey, kCurMonitorValue, saved, true);
    auto adapter = static_cast<std::uint32_t>(MonitorIndexFromValueText(saved));
    // Unsigned on purpose: a negative saved index falls back to adapter 0 too.
    if (adapter > direct3d->GetAdapterCount() - 1u) adapter = 0;
    const MonitorHandle monitor = direct3d->GetAdapterMonitor(adapter);
    std::uint32_t bytes = 0;
    VideoMemoryFromWmi(monitor, bytes);
    direct3d.reset();
    if (bytes != 0) return bytes;
  }
  // Whichever monitor was chosen, DirectDraw only tells the default device.
  return VideoMemoryFromDirectDraw();
}

QualityDefaults QualityDefaultsFor(std::uint32_t videoMemoryMb, std::int32_t cpuMhz,
                                   std::int32_t screenHeight) {
  const auto mhz = static_cast<std::uint32_t>(cpuMhz);
  const auto height = static_cast<std::uint32_t>(screenHeight);
  QualityDefaults defaults;
  defaults.highQualityTextures = (videoMemoryMb > 400 && height > 1000) ? 1 : 0;
  defaults.highQualityGraphics = (mhz > 2000 && videoMemoryMb > 400) ? 1 : 0;
  defaults.antialiasing = (mhz > 3000 && videoMemoryMb >= 2500) ? 1 : 0;
  return defaults;
}

QualityDefaults MeasureQualityDefaults() {
  const std::uint32_t megabytes = DetectVideoMemory() >> 20;
  const std::int32_t mhz = MeasureCpuMhz();
  const std::int32_t height = DisplayDeviceApi().GetSystemMetrics(kSmCyFullScreen);
  return QualityDefaultsFor(megabytes, mhz, height);
}

}  // namespace glimmer
