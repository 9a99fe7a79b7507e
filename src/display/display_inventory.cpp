#include "display/display_inventory.h"

#include <algorithm>

#include "platform/product.h"
#include "platform/text.h"

namespace glimmer {
namespace {

constexpr auto kMinimumWidth = static_cast<std::uint32_t>(kSmallestModeWidth);
constexpr auto kMinimumHeight = static_cast<std::uint32_t>(kSmallestModeHeight);

constexpr std::int32_t kDepthCandidates[] = {kD3dFmtD32, kD3dFmtD24X8, kD3dFmtD24S8, kD3dFmtD24X4S4,
                                             kD3dFmtD16};

bool SameMode(const D3dDisplayMode& a, const D3dDisplayMode& b) {
  return a.width == b.width && a.height == b.height && a.format == b.format;
}

// Width, then height ascending; the larger format value first.
bool ModeOrder(const D3dDisplayMode& a, const D3dDisplayMode& b) {
  if (a.width != b.width) return a.width < b.width;
  if (a.height != b.height) return a.height < b.height;
  return a.format > b.format;
}

std::uint32_t ModeIndexIn(const AdapterRecord& adapter, const D3dDisplayMode& mode) {
  const std::uint32_t devices = std::min(adapter.deviceCount, kDeviceRecords);
  for (std::uint32_t d = 0; d < devices; ++d) {
    const DeviceRecord& device = adapter.devices[d];
    const std::uint32_t modes = std::min(device.modeCount, kModeRecords);
    for (std::uint32_t j = 0; j < modes; ++j) {
      const ModeRecord& candidate = device.modes[j];
      if (candidate.width == mode.width && candidate.height == mode.height &&
          candidate.format == mode.format)
        return j;
    }
  }
  return 0;
}

// The outcome of the format test for one display format.
struct FormatVerdict {
  bool accepted = false;
  std::uint32_t vertexProcessing = 0;
  std::int32_t depthStencilFormat = kD3dFmtUnknown;
};

}  // namespace

std::u16string CutToCapacity(std::u16string_view text, std::size_t capacity) {
  if (capacity == 0) return {};
  std::size_t length = std::min(text.size(), capacity - 1);
  // Never keep the first half of a surrogate pair without its second.
  if (length < text.size() && length > 0 && text[length - 1] >= 0xD800 &&
      text[length - 1] <= 0xDBFF && text[length] >= 0xDC00 && text[length] <= 0xDFFF)
    --length;
  return std::u16string(text.substr(0, length));
}

DisplayInventory::DisplayInventory(Direct3D9Port& direct3d9, MonitorPort& monitors)
    : direct3d9_(direct3d9),
      monitors_(monitors),
      adapters_(kAdapterRecords),
      monitorRecords_(kMonitorRecords) {}

DisplayInventory::~DisplayInventory() = default;

void DisplayInventory::Clear() {
  std::fill(adapters_.begin(), adapters_.end(), AdapterRecord{});
  std::fill(monitorRecords_.begin(), monitorRecords_.end(), MonitorRecord{});
  adapterCount_ = 0;
  monitorCount_ = 0;
}

HResult DisplayInventory::EnumerateDisplayAdapters(Node& settings, const AcceptDeviceHook& accept) {
  Clear();
  std::unique_ptr<Direct3D9> direct3d = direct3d9_.Direct3DCreate9(kD3dSdkVersion);
  if (!direct3d) return kEFail;
  firstAdapterCaps_ = D3dCaps{};
  direct3d->GetDeviceCaps(0, kD3dDevTypeHal, firstAdapterCaps_);
  // The count is asked again after every adapter, as adapters may come and go.
  for (std::uint32_t ordinal = 0; ordinal < direct3d->GetAdapterCount(); ++ordinal) {
    // Every monitor record is taken: the adapters after these stay out.
    if (monitorCount_ == kMonitorRecords) break;
    if (!RecordAdapter(*direct3d, ordinal, settings, accept)) continue;
    RecordMonitor(*direct3d, ordinal);
    ++adapterCount_;
    ++monitorCount_;
  }
  return adapterCount_ == 0 ? kEFail : kSOk;
}

bool DisplayInventory::RecordAdapter(Direct3D9& direct3d, std::uint32_t ordinal, Node& settings,
                                     const AcceptDeviceHook& accept) {
  // The next free slot; an adapter that is not recorded leaves it to the next.
  AdapterRecord& record = adapters_[adapterCount_];
  record = AdapterRecord{};
  direct3d.GetAdapterIdentifier(ordinal, 0, record.identifier);
  direct3d.GetAdapterDisplayMode(ordinal, record.desktopMode);

  // The formats to test: the desktop's first, then those of the modes.
  std::vector<std::int32_t> formats{record.desktopMode.format};
  std::vector<D3dDisplayMode> modes;
  const std::uint32_t modeCount = direct3d.GetAdapterModeCount(ordinal, kD3dFmtX8R8G8B8);
  for (std::uint32_t i = 0; i < modeCount; ++i) {
    D3dDisplayMode mode;
    if (!Succeeded(direct3d.EnumAdapterModes(ordinal, kD3dFmtX8R8G8B8, i, mode))) continue;
    if (mode.width < kMinimumWidth || mode.height < kMinimumHeight) continue;
    // Refresh rates are not told apart.
    if (std::any_of(modes.begin(), modes.end(),
                    [&](const D3dDisplayMode& kept) { return SameMode(kept, mode); }))
      continue;
    if (std::find(formats.begin(), formats.end(), mode.format) == formats.end()) {
      // A format that cannot be listed cannot be tested, so its modes stay out.
      if (formats.size() == kFormatListCapacity) continue;
      formats.push_back(mode.format);
    }
    mode.refreshRate = 0;
    modes.push_back(mode);
  }
  std::sort(modes.begin(), modes.end(), ModeOrder);
  // More modes than the list holds: keep the largest. The desktop mode is
  // normally among them, and a full-screen scene wants the large ones.
  if (modes.size() > kModeListCapacity) modes.erase(modes.begin(), modes.end() - kModeListCapacity);

  // Only the hardware device type is tried.
  DeviceRecord& device = record.devices[record.deviceCount];
  device = DeviceRecord{};
  direct3d.GetDeviceCaps(ordinal, kD3dDevTypeHal, device.caps);

  std::vector<FormatVerdict> verdicts(formats.size());
  for (std::size_t k = 0; k < formats.size(); ++k) {
    const std::int32_t format = formats[k];
    if (!Succeeded(direct3d.CheckDeviceType(ordinal, kD3dDevTypeHal, format, format, false)))
      continue;
    const auto accepts = [&](std::uint32_t vertexProcessing) {
      return !accept || Succeeded(accept(device.caps, vertexProcessing, format));
    };
    std::uint32_t vertexProcessing = kD3dCreateHardwareVertexProcessing;
    if (!(device.caps.devCaps & kD3dDevCapsHwTransformAndLight) || !accepts(vertexProcessing)) {
      vertexProcessing = kD3dCreateSoftwareVertexProcessing;
      if (!accepts(vertexProcessing)) continue;
    }
    std::int32_t depth = kD3dFmtUnknown;
    if (!PickDepthStencilFormat(direct3d, ordinal, kD3dDevTypeHal, format, depth)) continue;
    verdicts[k] = FormatVerdict{true, vertexProcessing, depth};
  }

  for (const D3dDisplayMode& mode : modes) {
    for (std::size_t k = 0; k < formats.size(); ++k) {
      if (mode.format != formats[k] || !verdicts[k].accepted) continue;
      if (device.modeCount == kModeRecords) break;
      device.modes[device.modeCount++] =
          ModeRecord{mode.width, mode.height, mode.format, verdicts[k].vertexProcessing,
                     verdicts[k].depthStencilFormat};
    }
  }
  if (verdicts[0].accepted) {
    device.desktopFormatUsable = true;
    device.windowed = true;
  }
  if (device.modeCount == 0) return false;
  ++record.deviceCount;

  // The saved mode of the saved monitor, which may be this adapter's slot.
  const std::uint32_t monitor = settings[keys::kCurMonitor].AsUInt();
  const D3dDisplayMode wanted{settings[keys::kModeWidth].AsUInt(),
                              settings[keys::kModeHeight].AsUInt(), 0,
                              settings[keys::kModeFormat].AsInt()};
  const AdapterRecord* target = monitor < adapterCount_    ? &adapters_[monitor]
                                : monitor == adapterCount_ ? &record
                                                           : nullptr;
  const std::uint32_t current = target ? ModeIndexIn(*target, wanted) : 0;
  // A position found in another adapter's list may lie past this one's.
  device.currentMode = current < device.modeCount ? current : 0;
  return true;
}

void DisplayInventory::RecordMonitor(Direct3D9& direct3d, std::uint32_t ordinal) {
  MonitorRecord& entry = monitorRecords_[monitorCount_];
  const MonitorHandle handle = direct3d.GetAdapterMonitor(ordinal);
  MonitorInfo info;
  const bool haveInfo = monitors_.GetMonitorInfo(handle, info);

  entry = MonitorRecord{};
  entry.description = CutToCapacity(FromUtf8(adapters_[adapterCount_].identifier.description),
                                    kMonitorTextCapacity);
  if (haveInfo) {
    entry.displayName = CutToCapacity(info.device, kMonitorTextCapacity);
    // The first active monitor on the display device names it better.
    DisplayDevice attached;
    for (std::uint32_t i = 0;
         !info.device.empty() && monitors_.EnumDisplayDevices(info.device, i, attached); ++i) {
      if (attached.stateFlags & kDisplayDeviceActive) {
        entry.displayName = CutToCapacity(attached.deviceString, kMonitorTextCapacity);
        break;
      }
    }
    entry.desktopRect = info.monitorRect;
  }
  entry.monitor = handle;
  entry.adapterLink = -1;
}

void DisplayInventory::QueryFirstAdapter() {
  std::unique_ptr<Direct3D9> direct3d = direct3d9_.Direct3DCreate9(kD3dSdkVersion);
  if (!direct3d) return;
  direct3d->GetDeviceCaps(0, kD3dDevTypeHal, firstAdapterCaps_);
  direct3d->GetAdapterIdentifier(0, 0, adapters_[0].identifier);
}

D3dDisplayMode DisplayInventory::DesktopModeNow(std::uint32_t ordinal) {
  D3dDisplayMode mode;
  if (std::unique_ptr<Direct3D9> direct3d = direct3d9_.Direct3DCreate9(kD3dSdkVersion)) {
    if (!Succeeded(direct3d->GetAdapterDisplayMode(ordinal, mode))) mode = D3dDisplayMode{};
  }
  return mode;
}

std::uint32_t DisplayInventory::FindModeIndex(std::uint32_t adapter,
                                              const D3dDisplayMode& mode) const {
  return adapter < adapterCount_ ? ModeIndexIn(adapters_[adapter], mode) : 0;
}

const AdapterRecord* DisplayInventory::Adapter(std::uint32_t index) const {
  return index < adapterCount_ ? &adapters_[index] : nullptr;
}

const MonitorRecord* DisplayInventory::Monitor(std::uint32_t index) const {
  return index < monitorCount_ ? &monitorRecords_[index] : nullptr;
}

const DeviceRecord* DisplayInventory::FirstDevice(std::uint32_t adapter) const {
  const AdapterRecord* record = Adapter(adapter);
  return record && record->deviceCount > 0 ? &record->devices[0] : nullptr;
}

bool DisplayInventory::SetCurrentMode(std::uint32_t adapter, std::uint32_t mode) {
  if (!FirstDevice(adapter) || mode >= adapters_[adapter].devices[0].modeCount) return false;
  adapters_[adapter].devices[0].currentMode = mode;
  return true;
}

bool DisplayInventory::PickDepthStencilFormat(Direct3D9& direct3d, std::uint32_t adapter,
                                              std::uint32_t deviceType, std::int32_t format,
                                              std::int32_t& depthStencilFormat) {
  for (std::int32_t candidate : kDepthCandidates) {
    if (Succeeded(direct3d.CheckDeviceFormat(adapter, deviceType, format, kD3dUsageDepthStencil,
                                             kD3dRTypeSurface, candidate)) &&
        Succeeded(
            direct3d.CheckDepthStencilMatch(adapter, deviceType, format, format, candidate))) {
      depthStencilFormat = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace glimmer
