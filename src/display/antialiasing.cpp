#include "display/antialiasing.h"

#include <memory>

namespace glimmer {

std::vector<std::uint32_t> SupportedSampleCounts(Direct3D11Port& direct3d11) {
  std::vector<std::uint32_t> counts;
  std::unique_ptr<Direct3D11Device> device;
  std::uint32_t featureLevel = 0;
  if (!Succeeded(direct3d11.D3D11CreateDevice(kD3dDriverTypeHardware, 0, kD3d11SdkVersion, device,
                                              featureLevel)) ||
      !device)
    return counts;
  for (auto count = static_cast<std::uint32_t>(kFewestSamples);
       count <= static_cast<std::uint32_t>(kMostSamples); ++count) {
    std::uint32_t levels = 0;
    if (Succeeded(device->CheckMultisampleQualityLevels(kDxgiFormatR8G8B8A8Unorm, count, levels)) &&
        levels > 0)
      counts.push_back(count);
  }
  return counts;
}

}  // namespace glimmer
