// Direct3D 9 in memory: scripted adapters (identifier, desktop mode, full-screen
// modes, HAL caps, what each display format supports, the monitor) and a
// record of every call, so a test can stage hardware that no test machine has
// and see what the product asked.
//
// Failures answer as the real runtime does: an ordinal, index or device type
// it does not know gives kD3dErrInvalidCall (a count of 0, a null monitor),
// a combination the hardware refuses gives kD3dErrNotAvailable.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "display/direct3d9_port.h"

namespace glimmer::fakes {

// The answers for one display (adapter) format.
struct FakeD3dFormatSupport {
  // CheckDeviceType(format, format, windowed): the format works as display and
  // back-buffer format.
  bool displayFormat = true;
  // CheckDeviceFormat(format, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, candidate).
  std::set<std::int32_t> depthFormats;
  // CheckDepthStencilMatch(format, format, candidate).
  std::set<std::int32_t> depthMatches;
};

struct FakeD3dAdapter {
  D3dAdapterIdentifier identifier;
  D3dDisplayMode desktopMode;
  // Every full-screen mode in the order EnumAdapterModes lists them; a format
  // lists only the modes that carry it.
  std::vector<D3dDisplayMode> modes;
  // The HAL caps; GetDeviceCaps fills in deviceType and adapterOrdinal itself.
  D3dCaps caps;
  // Display formats the hardware knows; any other is refused everywhere.
  std::map<std::int32_t, FakeD3dFormatSupport> formats;
  MonitorHandle monitor = 0;

  // A single-head adapter with hardware transform and lighting, a desktop of
  // width x height in X8R8G8B8 (also its only mode), every depth format usable
  // with X8R8G8B8, shown on monitor.
  static FakeD3dAdapter Standard(std::string description, std::uint32_t width, std::uint32_t height,
                                 MonitorHandle monitor);
  // Every depth candidate usable with format (both checks).
  static FakeD3dFormatSupport AllDepthFormats();
};

class FakeDirect3D9Port final : public Direct3D9Port {
 public:
  std::vector<FakeD3dAdapter> adapters;
  bool unavailable = false;  // Direct3DCreate9 returns null

  // What the product did: objects created and not yet released, and every
  // call on them as text, e.g. "CheckDeviceFormat(0,1,22,2,1,71)".
  int created = 0;
  int live = 0;
  std::vector<std::uint32_t> sdkVersions;
  std::vector<std::string> calls;

  std::unique_ptr<Direct3D9> Direct3DCreate9(std::uint32_t sdkVersion) override;

  // The calls whose text starts with prefix, e.g. "CheckDeviceFormat(".
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
};

}  // namespace glimmer::fakes
