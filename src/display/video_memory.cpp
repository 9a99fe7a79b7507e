#include "display/video_memory.h"

#include <optional>
#include <vector>

#include "config/value_text.h"
#include "platform/product.h"
#include "platform/registry.h"
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
  explicit ComApartment(WmiPort& wmi) : wmi_(wmi), initialised_(Succeeded(wmi.CoInitialize())) {}
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment() {
    if (initialised_) wmi_.CoUninitialize();
  }

 private:
  WmiPort& wmi_;
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
HResult AdapterRamFromWmi(WmiPort& wmi, const std::optional<std::u16string>& deviceId,
                          std::uint32_t& bytes) {
  std::unique_ptr<WbemLocator> locator;
  if (!Succeeded(wmi.CreateWbemLocator(locator)) || !locator) return kEFail;
  std::unique_ptr<WbemServices> services;
  if (!Succeeded(locator->ConnectServer(kWmiNamespace, services)) || !services) return kEFail;
  // Without this blanket the calls into the WMI service may be refused.
  if (std::unique_ptr<ProxyBlanketEntry> blanket = wmi.LoadCoSetProxyBlanket()) {
    blanket->CoSetProxyBlanket(*services, kRpcCAuthnWinnt, kRpcCAuthzNone, kRpcCAuthnLevelCall,
                               kRpcCImpLevelImpersonate, kEoacNone);
  }
  // Semi-synchronous: with flags 0 the call would return only when the whole
  // enumeration is done, which on a freshly booted machine or a damaged WMI
  // repository takes seconds with no bound; this way only Next waits, and at
  // most its timeout.
  std::unique_ptr<EnumWbemClassObject> enumerator;
  if (!Succeeded(services->CreateInstanceEnum(
          kVideoControllerClass, kWbemFlagReturnImmediately | kWbemFlagForwardOnly, enumerator)) ||
      !enumerator)
    return kEFail;
  // A forward-only enumerator refuses this; a fresh one is at its start anyway.
  enumerator->Reset();
  // One batch only: a machine has few controllers, and the wait is bounded.
  // A batch that times out brings nothing, and DirectDraw decides.
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

HResult DisplayDeviceIdOfMonitor(DirectDrawPort& directDraw, DisplayDevicePort& displayDevices,
                                 MonitorHandle monitor, std::u16string& id) {
  const std::unique_ptr<DirectDrawModule> ddraw = directDraw.LoadDirectDraw();
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
  for (std::uint32_t index = 0; displayDevices.EnumDisplayDevicesA(index, device); ++index) {
    if ((device.stateFlags & kDisplayDeviceMirroringDriver) != 0) continue;
    if ((device.stateFlags & kDisplayDeviceAttachedToDesktop) == 0) continue;
    if (!SameNameIgnoringCase(device.deviceName, match.driverName)) continue;
    id = KeepWholeUnits(displayDevices.MultiByteToWideChar(device.deviceId),
                        kDisplayDeviceIdCapacity - 1);
    return kSOk;
  }
  return kEFail;
}

HResult VideoMemoryFromWmi(WmiPort& wmi, DirectDrawPort& directDraw,
                           DisplayDevicePort& displayDevices, MonitorHandle monitor,
                           std::uint32_t& bytes) {
  bytes = 0;
  std::optional<std::u16string> deviceId;
  std::u16string id;
  if (DisplayDeviceIdOfMonitor(directDraw, displayDevices, monitor, id) == kSOk)
    deviceId = std::move(id);
  const ComApartment com(wmi);
  return AdapterRamFromWmi(wmi, deviceId, bytes);
}

std::uint32_t VideoMemoryFromDirectDraw(DirectDrawPort& directDraw) {
  const std::unique_ptr<DirectDrawModule> ddraw = directDraw.LoadDirectDraw();
  if (!ddraw || !ddraw->HasEntry(kDirectDrawCreateEx)) return 0;
  std::unique_ptr<DirectDraw7> object;
  if (!Succeeded(ddraw->DirectDrawCreateEx(object)) || !object) return 0;
  DdsCaps2 caps;
  caps.caps = kDdsCapsVideoMemory;
  std::uint32_t total = 0;
  if (!Succeeded(object->GetAvailableVidMem(caps, &total, nullptr))) return 0;
  return total;
}

std::uint32_t DetectVideoMemory(const HardwarePorts& ports) {
  if (std::unique_ptr<Direct3D9> direct3d = ports.direct3d9.Direct3DCreate9(kD3dSdkVersion)) {
    // Read straight from the registry: at dialog start the saved settings are
    // loaded only after the defaults are set.
    std::u16string saved;
    ReadRegistryString(ports.registry, ports.system, kHkeyLocalMachine, kSettingsKey,
                       keys::kCurMonitor, saved, true);
    auto adapter = static_cast<std::uint32_t>(MonitorIndexFromValueText(saved));
    // Unsigned on purpose: a negative saved index falls back to adapter 0 too.
    if (adapter > direct3d->GetAdapterCount() - 1u) adapter = 0;
    const MonitorHandle monitor = direct3d->GetAdapterMonitor(adapter);
    std::uint32_t bytes = 0;
    VideoMemoryFromWmi(ports.wmi, ports.directDraw, ports.displayDevices, monitor, bytes);
    direct3d.reset();
    if (bytes != 0) return bytes;
  }
  // Whichever monitor was chosen, DirectDraw only tells the default device.
  return VideoMemoryFromDirectDraw(ports.directDraw);
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

QualityDefaults MeasureQualityDefaults(const HardwarePorts& ports) {
  const std::uint32_t megabytes = DetectVideoMemory(ports) >> 20;
  const std::int32_t mhz = MeasureCpuMhz(ports.system);
  const std::int32_t height = ports.displayDevices.GetSystemMetrics(kSmCyFullScreen);
  return QualityDefaultsFor(megabytes, mhz, height);
}

}  // namespace glimmer
