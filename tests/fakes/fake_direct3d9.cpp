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
  explicit FakeDirect3D9(FakeDirect3D9Port& port) : port_(port) { ++port_.live; }
  ~FakeDirect3D9() override { --port_.live; }

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
    if (!found || deviceType != kD3dDevTypeHal) return kD3dErrInvalidCall;
    caps = found->caps;
    caps.deviceType = deviceType;
    caps.adapterOrdinal = adapter;
    return kSOk;
  }

  HResult CheckDeviceType(std::uint32_t adapter, std::uint32_t deviceType,
                          std::int32_t displayFormat, std::int32_t backBufferFormat,
                          bool windowed) override {
    Log("CheckDeviceType(" +
        Join({adapter, deviceType, displayFormat, backBufferFormat, windowed}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found || deviceType != kD3dDevTypeHal) return kD3dErrInvalidCall;
    const FakeD3dFormatSupport* support = Support(*found, displayFormat);
    return support && support->displayFormat && backBufferFormat == displayFormat
               ? kSOk
               : kD3dErrNotAvailable;
  }

  HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType,
                            std::int32_t adapterFormat, std::uint32_t usage,
                            std::uint32_t resourceType, std::int32_t checkFormat) override {
    Log("CheckDeviceFormat(" +
        Join({adapter, deviceType, adapterFormat, usage, resourceType, checkFormat}) + ")");
    const FakeD3dAdapter* found = Find(adapter);
    if (!found || deviceType != kD3dDevTypeHal) return kD3dErrInvalidCall;
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
    if (!found || deviceType != kD3dDevTypeHal) return kD3dErrInvalidCall;
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
  if (unavailable) return nullptr;
  ++created;
  return std::make_unique<FakeDirect3D9>(*this);
}

std::vector<std::string> FakeDirect3D9Port::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (call.compare(0, prefix.size(), prefix) == 0) found.push_back(call);
  return found;
}

}  // namespace glimmer::fakes
