#include "fakes/fake_direct3d9.h"

#include <utility>

namespace glimmer::fakes {
namespace {

std::string Join(std::initializer_list<long long> values) {
  std::string text;
  for (long long value : values) {
    if (!text.empty()) text += ',';
    text += std::to_string(value);
  }
  return text;
}

class FakeDirect3D9 final : public Direct3D9 {
 public:
  FakeDirect3D9(FakeDirect3D9Port& port, std::uintptr_t identity)
      : port_(port), identity_(identity) {
    ++port_.live;
  }
  ~FakeDirect3D9() override { --port_.live; }

  std::uintptr_t Identity() const override { return identity_; }

  std::uint32_t GetAdapterCount() override {
    Log("GetAdapterCount()");
    return static_cast<std::uint32_t>(port_.adapters.size());
  }

  HResult GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags,
                               D3dAdapterIdentifier& identifier) override {
    Log("GetAdapterIdentifier(" + Join({adapter, flags}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return kD3dErrInvalidCall;
    identifier = found->identifier;
    return kSOk;
  }

  HResult GetAdapterDisplayMode(std::uint32_t adapter, D3dDisplayMode& mode) override {
    Log("GetAdapterDisplayMode(" + Join({adapter}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return kD3dErrInvalidCall;
    mode = found->desktopMode;
    return kSOk;
  }

  std::uint32_t GetAdapterModeCount(std::uint32_t adapter, std::int32_t format) override {
    Log("GetAdapterModeCount(" + Join({adapter, format}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return 0;
    std::uint32_t count = 0;
    for (const D3dDisplayMode& mode : found->modes)
      if (mode.format == format) ++count;
    return count;
  }

  HResult EnumAdapterModes(std::uint32_t adapter, std::int32_t format, std::uint32_t index,
                           D3dDisplayMode& mode) override {
    Log("EnumAdapterModes(" + Join({adapter, format, index}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return kD3dErrInvalidCall;
    std::uint32_t position = 0;
    for (const D3dDisplayMode& candidate : found->modes) {
      if (candidate.format != format) continue;
      if (position++ == index) {
        mode = candidate;
        return kSOk;
      }
    }
    return kD3dErrInvalidCall;
  }

  HResult GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, D3dCaps& caps) override {
    Log("GetDeviceCaps(" + Join({adapter, deviceType}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return kD3dErrInvalidCall;
    if (deviceType != kD3dDevTypeHal) return kD3dErrNotAvailable;
    caps = found->caps;
    caps.deviceType = deviceType;
    caps.adapterOrdinal = adapter;
    // A group's master (every single-head adapter is one) leads itself.
    if (caps.numberOfAdaptersInGroup > 0) {
      caps.masterAdapterOrdinal = adapter;
      caps.adapterOrdinalInGroup = 0;
    }
    return kSOk;
  }

  HResult CheckDeviceType(std::uint32_t adapter, std::uint32_t deviceType,
                          std::int32_t displayFormat, std::int32_t backBufferFormat,
                          bool windowed) override {
    Log("CheckDeviceType(" +
        Join({adapter, deviceType, displayFormat, backBufferFormat, windowed}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return kD3dErrInvalidCall;
    if (deviceType != kD3dDevTypeHal) return kD3dErrNotAvailable;
    const FakeD3dFormatSupport* support = Support(*found, displayFormat);
    // A back buffer may add alpha to the display format.
    const bool backBufferFits =
        backBufferFormat == displayFormat ||
        (displayFormat == kD3dFmtX8R8G8B8 && backBufferFormat == kD3dFmtA8R8G8B8);
    return support && support->displayFormat && backBufferFits ? kSOk : kD3dErrNotAvailable;
  }

  HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType,
                            std::int32_t adapterFormat, std::uint32_t usage,
                            std::uint32_t resourceType, std::int32_t checkFormat) override {
    Log("CheckDeviceFormat(" +
        Join({adapter, deviceType, adapterFormat, usage, resourceType, checkFormat}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return kD3dErrInvalidCall;
    if (deviceType != kD3dDevTypeHal) return kD3dErrNotAvailable;
    // Only the depth/stencil question is scripted.
    const FakeD3dFormatSupport* support = Support(*found, adapterFormat);
    return support && usage == kD3dUsageDepthStencil && resourceType == kD3dRTypeSurface &&
                   support->depthFormats.count(checkFormat)
               ? kSOk
               : kD3dErrNotAvailable;
  }

  HResult CheckDepthStencilMatch(std::uint32_t adapter, std::uint32_t deviceType,
                                 std::int32_t adapterFormat, std::int32_t renderTargetFormat,
                                 std::int32_t depthStencilFormat) override {
    Log("CheckDepthStencilMatch(" +
        Join({adapter, deviceType, adapterFormat, renderTargetFormat, depthStencilFormat}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found) return kD3dErrInvalidCall;
    if (deviceType != kD3dDevTypeHal) return kD3dErrNotAvailable;
    const FakeD3dFormatSupport* support = Support(*found, adapterFormat);
    return support && renderTargetFormat == adapterFormat &&
                   support->depthMatches.count(depthStencilFormat)
               ? kSOk
               : kD3dErrNotAvailable;
  }

  MonitorHandle GetAdapterMonitor(std::uint32_t adapter) override {
    Log("GetAdapterMonitor(" + Join({adapter}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    return found ? found->monitor : 0;
  }

 private:
  const FakeD3dAdapter* Find(std::uint32_t adapter) const {
    return adapter < port_.adapters.size() ? &port_.adapters[adapter] : nullptr;
  }
  static const FakeD3dFormatSupport* Support(const FakeD3dAdapter& adapter, std::int32_t format) {
    auto found = adapter.formats.find(format);
    return found == adapter.formats.end() ? nullptr : &found->second;
  }
  void Log(std::string call) { port_.calls.push_back(std::move(call)); }

  FakeDirect3D9Port& port_;
  std::uintptr_t identity_;
};

}  // namespace

FakeD3dFormatSupport FakeD3dAdapter::AllDepthFormats() {
  FakeD3dFormatSupport support;
  support.depthFormats = {kD3dFmtD32, kD3dFmtD24X8, kD3dFmtD24S8, kD3dFmtD24X4S4, kD3dFmtD16};
  support.depthMatches = support.depthFormats;
  return support;
}

FakeD3dAdapter FakeD3dAdapter::Standard(std::string description, std::uint32_t width,
                                        std::uint32_t height, MonitorHandle monitor) {
  FakeD3dAdapter adapter;
  adapter.identifier.driver = "fakedrv.dll";
  adapter.identifier.description = std::move(description);
  adapter.identifier.deviceName = "\\\\.\\DISPLAY1";
  adapter.identifier.vendorId = 0x1234;
  adapter.identifier.deviceId = 0x5678;
  adapter.desktopMode = D3dDisplayMode{width, height, 60, kD3dFmtX8R8G8B8};
  adapter.modes = {adapter.desktopMode};
  adapter.caps.devCaps = kD3dDevCapsHwTransformAndLight;
  adapter.caps.numberOfAdaptersInGroup = 1;
  adapter.formats[kD3dFmtX8R8G8B8] = AllDepthFormats();
  adapter.monitor = monitor;
  return adapter;
}

std::unique_ptr<Direct3D9> FakeDirect3D9Port::Direct3DCreate9(std::uint32_t sdkVersion) {
  sdkVersions.push_back(sdkVersion);
  liveAtCreate.push_back(live);
  if (unavailable) return nullptr;
  ++created;
  if (live == 0 || sdkVersion != liveVersion_) {
    liveIdentity_ = ++objects_;
    liveVersion_ = sdkVersion;
  }
  return std::make_unique<FakeDirect3D9>(*this, liveIdentity_);
}

std::vector<std::string> FakeDirect3D9Port::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  return found;
}

namespace stagings {

MonitorHandle MonitorOfAdapter(std::uint32_t ordinal) { return 0x1001 + 0x10 * ordinal; }

namespace {

FakeD3dAdapter Numbered(std::uint32_t ordinal, std::uint32_t width, std::uint32_t height) {
  FakeD3dAdapter adapter = FakeD3dAdapter::Standard("Fake Graphics " + std::to_string(ordinal + 1),
                                                    width, height, MonitorOfAdapter(ordinal));
  adapter.identifier.deviceName = "\\\\.\\DISPLAY" + std::to_string(ordinal + 1);
  return adapter;
}

}  // namespace

std::vector<FakeD3dAdapter> WineLike() {
  FakeD3dAdapter adapter = Numbered(0, 1024, 768);
  FakeD3dFormatSupport& support = adapter.formats[kD3dFmtX8R8G8B8];
  support.depthFormats = {kD3dFmtD24X8, kD3dFmtD24S8, kD3dFmtD16};
  support.depthMatches = support.depthFormats;
  return {adapter};
}

std::vector<FakeD3dAdapter> DualHead() {
  std::vector<FakeD3dAdapter> adapters{Numbered(0, 1280, 1024), Numbered(1, 1280, 1024)};
  adapters[0].caps.numberOfAdaptersInGroup = 2;
  adapters[1].caps.numberOfAdaptersInGroup = 0;
  adapters[1].caps.masterAdapterOrdinal = 0;
  adapters[1].caps.adapterOrdinalInGroup = 1;
  for (FakeD3dAdapter& adapter : adapters) {
    adapter.identifier.description = "Fake Graphics DualHead";
    adapter.modes = {{800, 600, 60, kD3dFmtX8R8G8B8},
                     {1024, 768, 60, kD3dFmtX8R8G8B8},
                     {1280, 1024, 60, kD3dFmtX8R8G8B8}};
  }
  return adapters;
}

std::vector<FakeD3dAdapter> WineTwoMonitors() {
  std::vector<FakeD3dAdapter> adapters{WineLike()[0], WineLike()[0]};
  adapters[0].desktopMode = {1280, 1024, 60, kD3dFmtX8R8G8B8};
  adapters[0].modes = {adapters[0].desktopMode};
  adapters[0].caps.numberOfAdaptersInGroup = 2;
  FakeD3dAdapter& second = adapters[1];
  second.identifier.deviceName = "\\\\.\\DISPLAY2";
  second.monitor = MonitorOfAdapter(1);
  second.desktopMode = {0, 0, 0, kD3dFmtUnknown};
  second.modes = adapters[0].modes;
  second.caps.numberOfAdaptersInGroup = 0;
  second.caps.masterAdapterOrdinal = 0;
  second.caps.adapterOrdinalInGroup = 1;
  return adapters;
}

std::vector<FakeD3dAdapter> TwoAdapters() {
  return {Numbered(0, 1920, 1080), Numbered(1, 1024, 768)};
}

std::vector<FakeD3dAdapter> FirstWithoutUsableMode() {
  FakeD3dAdapter small = Numbered(0, 640, 400);
  small.modes = {{640, 400, 60, kD3dFmtX8R8G8B8},
                 {600, 800, 60, kD3dFmtX8R8G8B8},
                 {320, 240, 60, kD3dFmtX8R8G8B8}};
  return {small, Numbered(1, 1024, 768)};
}

std::vector<FakeD3dAdapter> SixteenBitDesktop() {
  FakeD3dAdapter adapter = Numbered(0, 1024, 768);
  adapter.desktopMode.format = kD3dFmtR5G6B5;
  adapter.modes.clear();
  for (std::int32_t format : {kD3dFmtX8R8G8B8, kD3dFmtR5G6B5})
    for (auto [width, height] : {std::pair{800u, 600u}, std::pair{1024u, 768u}})
      adapter.modes.push_back({width, height, 60, format});
  adapter.formats[kD3dFmtR5G6B5] = FakeD3dAdapter::AllDepthFormats();
  return {adapter};
}

std::vector<FakeD3dAdapter> NoHardwareTransform() {
  std::vector<FakeD3dAdapter> adapters{Numbered(0, 1024, 768)};
  adapters[0].caps.devCaps = 0;
  return adapters;
}

std::vector<FakeD3dAdapter> DepthDownToD24S8() {
  std::vector<FakeD3dAdapter> adapters{Numbered(0, 1024, 768)};
  FakeD3dFormatSupport& support = adapters[0].formats[kD3dFmtX8R8G8B8];
  support.depthFormats = {kD3dFmtD24X8, kD3dFmtD24S8, kD3dFmtD16};
  support.depthMatches = {kD3dFmtD32, kD3dFmtD24S8, kD3dFmtD16};
  return adapters;
}

std::vector<FakeD3dAdapter> ManyModes(std::uint32_t modeCount) {
  FakeD3dAdapter adapter = Numbered(0, 640 + 8 * (modeCount - 1), 480);
  adapter.modes.clear();
  for (std::uint32_t i = 0; i < modeCount; ++i)
    for (std::uint32_t refresh : {60u, 75u})
      adapter.modes.push_back({640 + 8 * i, 480, refresh, kD3dFmtX8R8G8B8});
  return {adapter};
}

std::vector<FakeD3dAdapter> TenAdapters() {
  std::vector<FakeD3dAdapter> adapters;
  for (std::uint32_t ordinal = 0; ordinal < 10; ++ordinal)
    adapters.push_back(Numbered(ordinal, 1024, 768));
  return adapters;
}

}  // namespace stagings

}  // namespace glimmer::fakes
