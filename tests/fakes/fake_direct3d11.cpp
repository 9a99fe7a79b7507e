#include "fakes/fake_direct3d11.h"

#include <utility>

namespace glimmer::fakes {
namespace {

constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);

class FakeDirect3D11Device final : public Direct3D11Device {
 public:
  explicit FakeDirect3D11Device(FakeDirect3D11Port& port) : port_(port) { ++port_.live; }
  ~FakeDirect3D11Device() override { --port_.live; }

  HResult CheckMultisampleQualityLevels(std::uint32_t format, std::uint32_t sampleCount,
                                        std::uint32_t& levels) override {
    port_.countsAsked.push_back(sampleCount);
    levels = 0;
    if (sampleCount == 0 || sampleCount > kD3d11MaxMultisampleSampleCount) return kEFail;
    // One sample is no multisampling: every format has it.
    if (sampleCount == 1) {
      levels = 1;
      return kSOk;
    }
    auto counts = port_.sampleCounts.find(format);
    if (counts == port_.sampleCounts.end()) return kEInvalidArg;
    if (counts->second.count(sampleCount)) levels = port_.qualityLevels;
    return kSOk;
  }

 private:
  FakeDirect3D11Port& port_;
};

}  // namespace

std::unique_ptr<FakeDirect3D11Port> FakeDirect3D11Port::WithCounts(std::set<std::uint32_t> counts) {
  auto port = std::make_unique<FakeDirect3D11Port>();
  port->sampleCounts[kDxgiFormatR8G8B8A8Unorm] = std::move(counts);
  return port;
}

HResult FakeDirect3D11Port::D3D11CreateDevice(std::uint32_t driverType, std::uint32_t flags,
                                              std::uint32_t sdkVersion,
                                              std::unique_ptr<Direct3D11Device>& device,
                                              std::uint32_t& level) {
  lastDriverType = driverType;
  lastFlags = flags;
  lastSdkVersion = sdkVersion;
  device.reset();
  if (createResult < 0) return createResult;
  if (driverType != kD3dDriverTypeHardware || sdkVersion != kD3d11SdkVersion) return kEInvalidArg;
  ++created;
  device = std::make_unique<FakeDirect3D11Device>(*this);
  level = featureLevel;
  return kSOk;
}

}  // namespace glimmer::fakes
