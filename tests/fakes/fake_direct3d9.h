// Direct3D 9 in memory: scripted adapters (identifier, desktop mode, full-screen
// modes, HAL caps, what each display format supports, the monitor) and a
// record of every call, so a test can stage hardware that no test machine has
// and see what the product asked.
//
// Failures answer as the real runtime does: an ordinal or index it does not
// know gives kD3dErrInvalidCall (a count of 0, a null monitor), a device type
// other than HAL or a combination the hardware refuses gives
// kD3dErrNotAvailable.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/direct3d9_port.h"

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
  // The HAL caps. GetDeviceCaps fills in deviceType and adapterOrdinal, and
  // for a group master (numberOfAdaptersInGroup above 0) the master fields;
  // a subordinate head (0) keeps the staged ones.
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

  // What the product did: objects asked for and not yet released, and every
  // call on them as text, e.g. "CheckDeviceFormat(0,1,22,2,1,71)". While one
  // lives, a create of its version hands out the same object again, as the
  // port's contract asks.
  int created = 0;
  int live = 0;
  std::vector<int> liveAtCreate;  // objects alive when each create was asked
  std::vector<std::uint32_t> sdkVersions;
  std::vector<std::string> calls;

  std::unique_ptr<Direct3D9> Direct3DCreate9(std::uint32_t sdkVersion) override;

  // The calls whose text starts with prefix, e.g. "CheckDeviceFormat(".
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

 private:
  std::uintptr_t liveIdentity_ = 0;
  std::uint32_t liveVersion_ = 0;
  std::uintptr_t objects_ = 0;
};

// Hardware configurations, each one something a real runtime reports. Adapter
// n shows on monitor MonitorOfAdapter(n), device \\.\DISPLAYn+1.
namespace stagings {

MonitorHandle MonitorOfAdapter(std::uint32_t ordinal);

// As Wine here: one adapter with one 1024 x 768 mode, depth formats D24X8,
// D24S8 and D16.
std::vector<FakeD3dAdapter> WineLike();
// One card driving two monitors: adapter 0 leads a group of two.
std::vector<FakeD3dAdapter> DualHead();
// Two cards, one monitor each.
std::vector<FakeD3dAdapter> TwoAdapters();
// As Wine with two Xinerama screens (1280 x 1024 and 1024 x 768): a group of
// two heads whose second reports a desktop of 0 x 0 in no format and lists
// the first head's one mode.
std::vector<FakeD3dAdapter> WineTwoMonitors();
// Adapter 0 offers only modes below 640 x 480; adapter 1 is usable.
std::vector<FakeD3dAdapter> FirstWithoutUsableMode();
// A 16-bit (R5G6B5) desktop; the full-screen modes exist in both formats.
std::vector<FakeD3dAdapter> SixteenBitDesktop();
// No hardware transform and lighting.
std::vector<FakeD3dAdapter> NoHardwareTransform();
// D32 is no depth format here and D24X8 does not match the render target, so
// D24S8 is the first candidate that passes both checks.
std::vector<FakeD3dAdapter> DepthDownToD24S8();
// modeCount distinct modes of 640 x 480 and up, each at 60 and 75 Hz, widths
// ascending in the listing.
std::vector<FakeD3dAdapter> ManyModes(std::uint32_t modeCount);
// Ten single-head adapters.
std::vector<FakeD3dAdapter> TenAdapters();

}  // namespace stagings

}  // namespace glimmer::fakes
