// Direct3D 11 in memory: a hardware device that can be withheld, and the
// sample counts it supports for each format.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>

#include "platform/direct3d11_port.h"

namespace glimmer::fakes {

class FakeDirect3D11Port final : public Direct3D11Port {
 public:
  // What D3D11CreateDevice answers when no hardware device can be made.
  HResult createResult = kSOk;
  std::uint32_t featureLevel = 0xb000;  // D3D_FEATURE_LEVEL_11_0
  // Sample counts with at least one quality level, per DXGI format. A count
  // of 1 is supported for every format; a higher count for a format not
  // listed here is an invalid argument, as for DXGI_FORMAT_UNKNOWN.
  std::map<std::uint32_t, std::set<std::uint32_t>> sampleCounts;
  std::uint32_t qualityLevels = 1;  // levels reported for a supported count

  // A device supporting these counts for DXGI_FORMAT_R8G8B8A8_UNORM.
  static std::unique_ptr<FakeDirect3D11Port> WithCounts(std::set<std::uint32_t> counts);

  // What the product did.
  int created = 0;
  int live = 0;
  std::uint32_t lastDriverType = 0;
  std::uint32_t lastFlags = 0;
  std::uint32_t lastSdkVersion = 0;
  std::vector<std::uint32_t> countsAsked;

  HResult D3D11CreateDevice(std::uint32_t driverType, std::uint32_t flags, std::uint32_t sdkVersion,
                            std::unique_ptr<Direct3D11Device>& device,
                            std::uint32_t& featureLevel) override;
};

}  // namespace glimmer::fakes
