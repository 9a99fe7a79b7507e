#include "contract/direct3d9_contract.h"

#include <set>
#include <string>

namespace glimmer::contract {
namespace {

constexpr std::int32_t kDepthCandidates[] = {kD3dFmtD32, kD3dFmtD24X8, kD3dFmtD24S8, kD3dFmtD24X4S4,
                                             kD3dFmtD16};

TEST_P(Direct3D9Contract, ObjectsAgreeOnTheAdapters) {
  EXPECT_GE(count_, 1u);
  std::unique_ptr<Direct3D9> second = port_->Direct3DCreate9(kD3dSdkVersion);
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(second->GetAdapterCount(), count_);
  for (std::uint32_t a = 0; a < count_; ++a) {
    D3dDisplayMode first, other;
    ASSERT_GE(direct3d_->GetAdapterDisplayMode(a, first), 0);
    ASSERT_GE(second->GetAdapterDisplayMode(a, other), 0);
    EXPECT_EQ(first.width, other.width) << "adapter " << a;
    EXPECT_EQ(first.format, other.format) << "adapter " << a;
    EXPECT_EQ(direct3d_->GetAdapterMonitor(a), second->GetAdapterMonitor(a));
  }
}

// Every new object sets up the whole adapter list, which takes its time (a
// noticeable part of the settings dialog's start under Wine); while one
// lives, the port hands that one out again.
TEST_P(Direct3D9Contract, WhileAnObjectLivesTheSameOneIsHandedOut) {
  std::unique_ptr<Direct3D9> second = port_->Direct3DCreate9(kD3dSdkVersion);
  ASSERT_NE(second, nullptr);
  EXPECT_NE(direct3d_->Identity(), 0u);
  EXPECT_EQ(second->Identity(), direct3d_->Identity());
}

// Objects may share what stands behind them, but each stays usable until it
// is released itself, and a create after all are gone starts afresh.
TEST_P(Direct3D9Contract, EachObjectOutlivesTheOthers) {
  std::unique_ptr<Direct3D9> second = port_->Direct3DCreate9(kD3dSdkVersion);
  ASSERT_NE(second, nullptr);
  direct3d_.reset();
  EXPECT_EQ(second->GetAdapterCount(), count_);
  D3dDisplayMode mode;
  EXPECT_GE(second->GetAdapterDisplayMode(0, mode), 0);
  second.reset();
  direct3d_ = port_->Direct3DCreate9(kD3dSdkVersion);
  ASSERT_NE(direct3d_, nullptr);
  EXPECT_EQ(direct3d_->GetAdapterCount(), count_);
}

// Ordinals at and past the count name no adapter: every call refuses, and no
// out-parameter is touched.
TEST_P(Direct3D9Contract, OrdinalsPastTheCountAreRefused) {
  for (std::uint32_t a : {count_, count_ + 1, 0xFFFFFFFFu}) {
    SCOPED_TRACE("adapter " + std::to_string(a));
    D3dAdapterIdentifier identifier;
    identifier.description = "sentinel";
    EXPECT_EQ(direct3d_->GetAdapterIdentifier(a, 0, identifier), kD3dErrInvalidCall);
    EXPECT_EQ(identifier.description, "sentinel");
    D3dDisplayMode mode{7, 7, 7, 7};
    EXPECT_EQ(direct3d_->GetAdapterDisplayMode(a, mode), kD3dErrInvalidCall);
    EXPECT_EQ(mode.width, 7u);
    EXPECT_EQ(direct3d_->GetAdapterModeCount(a, kD3dFmtX8R8G8B8), 0u);
    EXPECT_EQ(direct3d_->EnumAdapterModes(a, kD3dFmtX8R8G8B8, 0, mode), kD3dErrInvalidCall);
    EXPECT_EQ(mode.height, 7u);
    D3dCaps caps;
    caps.devCaps = 7;
    EXPECT_EQ(direct3d_->GetDeviceCaps(a, kD3dDevTypeHal, caps), kD3dErrInvalidCall);
    EXPECT_EQ(caps.devCaps, 7u);
    EXPECT_EQ(
        direct3d_->CheckDeviceType(a, kD3dDevTypeHal, kD3dFmtX8R8G8B8, kD3dFmtX8R8G8B8, false),
        kD3dErrInvalidCall);
    EXPECT_EQ(direct3d_->CheckDeviceFormat(a, kD3dDevTypeHal, kD3dFmtX8R8G8B8,
                                           kD3dUsageDepthStencil, kD3dRTypeSurface, kD3dFmtD16),
              kD3dErrInvalidCall);
    EXPECT_EQ(direct3d_->CheckDepthStencilMatch(a, kD3dDevTypeHal, kD3dFmtX8R8G8B8, kD3dFmtX8R8G8B8,
                                                kD3dFmtD16),
              kD3dErrInvalidCall);
    EXPECT_EQ(direct3d_->GetAdapterMonitor(a), 0u);
  }
}

TEST_P(Direct3D9Contract, ModesCarryTheFormatAskedForAndEndAtTheCount) {
  for (std::uint32_t a = 0; a < count_; ++a) {
    for (std::int32_t format : {kD3dFmtX8R8G8B8, kD3dFmtR5G6B5}) {
      const std::uint32_t count = direct3d_->GetAdapterModeCount(a, format);
      for (std::uint32_t i = 0; i < count; ++i) {
        D3dDisplayMode mode;
        ASSERT_GE(direct3d_->EnumAdapterModes(a, format, i, mode), 0) << a << "/" << i;
        EXPECT_EQ(mode.format, format) << "adapter " << a << " mode " << i;
        EXPECT_GT(mode.width, 0u);
        EXPECT_GT(mode.height, 0u);
      }
      D3dDisplayMode past{7, 7, 7, 7};
      EXPECT_EQ(direct3d_->EnumAdapterModes(a, format, count, past), kD3dErrInvalidCall);
      EXPECT_EQ(past.width, 7u);
    }
    // Depth formats are never display modes.
    EXPECT_EQ(direct3d_->GetAdapterModeCount(a, kD3dFmtD16), 0u);
  }
}

TEST_P(Direct3D9Contract, EveryAdapterHasADesktopAnIdentityAndItsOwnMonitor) {
  std::set<MonitorHandle> monitors;
  for (std::uint32_t a = 0; a < count_; ++a) {
    SCOPED_TRACE("adapter " + std::to_string(a));
    D3dDisplayMode desktop;
    ASSERT_GE(direct3d_->GetAdapterDisplayMode(a, desktop), 0);
    if (!HasNoDesktop(a)) {
      EXPECT_GT(desktop.width, 0u);
      EXPECT_GT(desktop.height, 0u);
      EXPECT_NE(desktop.format, kD3dFmtUnknown);
    }

    D3dAdapterIdentifier identifier;
    ASSERT_GE(direct3d_->GetAdapterIdentifier(a, 0, identifier), 0);
    EXPECT_FALSE(identifier.description.empty());
    // The texts come from fixed fields of 512 and 32 bytes with their NUL.
    EXPECT_LE(identifier.description.size(), 511u);
    EXPECT_LE(identifier.driver.size(), 511u);
    EXPECT_LE(identifier.deviceName.size(), 31u);
    EXPECT_EQ(identifier.deviceName.rfind("\\\\.\\DISPLAY", 0), 0u) << identifier.deviceName;

    const MonitorHandle monitor = direct3d_->GetAdapterMonitor(a);
    EXPECT_NE(monitor, 0u);
    EXPECT_TRUE(monitors.insert(monitor).second) << "monitor shared with another adapter";
  }
}

// A group's master counts its heads; the other heads report 0 and name it.
TEST_P(Direct3D9Contract, CapsDescribeTheAdapterGroups) {
  std::vector<D3dCaps> caps(count_);
  for (std::uint32_t a = 0; a < count_; ++a) {
    ASSERT_GE(direct3d_->GetDeviceCaps(a, kD3dDevTypeHal, caps[a]), 0) << "adapter " << a;
    EXPECT_EQ(caps[a].deviceType, kD3dDevTypeHal);
    EXPECT_EQ(caps[a].adapterOrdinal, a);
  }
  for (std::uint32_t a = 0; a < count_; ++a) {
    SCOPED_TRACE("adapter " + std::to_string(a));
    ASSERT_LT(caps[a].masterAdapterOrdinal, count_);
    const bool master = caps[a].masterAdapterOrdinal == a;
    EXPECT_EQ(master, caps[a].adapterOrdinalInGroup == 0);
    if (!master) {
      EXPECT_EQ(caps[a].numberOfAdaptersInGroup, 0u);
      continue;
    }
    std::uint32_t heads = 0;
    for (const D3dCaps& other : caps)
      if (other.masterAdapterOrdinal == a) ++heads;
    EXPECT_EQ(caps[a].numberOfAdaptersInGroup, heads);
  }
}

// Formats that can never be shown full-screen are refused as unavailable, and
// so are colour formats asked for as depth buffers.
TEST_P(Direct3D9Contract, FormatsOfTheWrongKindAreRefused) {
  for (std::uint32_t a = 0; a < count_; ++a) {
    SCOPED_TRACE("adapter " + std::to_string(a));
    for (std::int32_t format : {kD3dFmtUnknown, kD3dFmtA8R8G8B8, kD3dFmtD16})
      EXPECT_EQ(direct3d_->CheckDeviceType(a, kD3dDevTypeHal, format, format, false),
                kD3dErrNotAvailable)
          << "display format " << format;
    D3dDisplayMode desktop;
    ASSERT_GE(direct3d_->GetAdapterDisplayMode(a, desktop), 0);
    for (std::int32_t colour : {kD3dFmtX8R8G8B8, kD3dFmtUnknown}) {
      if (HasNoDesktop(a)) break;
      EXPECT_EQ(direct3d_->CheckDeviceFormat(a, kD3dDevTypeHal, desktop.format,
                                             kD3dUsageDepthStencil, kD3dRTypeSurface, colour),
                kD3dErrNotAvailable);
      EXPECT_EQ(direct3d_->CheckDepthStencilMatch(a, kD3dDevTypeHal, desktop.format, desktop.format,
                                                  colour),
                kD3dErrNotAvailable);
    }
    for (std::int32_t candidate : kDepthCandidates)
      EXPECT_EQ(direct3d_->CheckDeviceFormat(a, kD3dDevTypeHal, kD3dFmtD16, kD3dUsageDepthStencil,
                                             kD3dRTypeSurface, candidate),
                kD3dErrNotAvailable)
          << "a depth format is no adapter format";
  }
}

// The desktop is one of the modes listed for its own format.
TEST_P(Direct3D9Contract, TheDesktopModeIsListed) {
  for (std::uint32_t a = 0; a < count_; ++a) {
    if (HasNoDesktop(a)) continue;
    D3dDisplayMode desktop;
    ASSERT_GE(direct3d_->GetAdapterDisplayMode(a, desktop), 0);
    bool listed = false;
    const std::uint32_t count = direct3d_->GetAdapterModeCount(a, desktop.format);
    for (std::uint32_t i = 0; i < count && !listed; ++i) {
      D3dDisplayMode mode;
      ASSERT_GE(direct3d_->EnumAdapterModes(a, desktop.format, i, mode), 0);
      listed = mode.width == desktop.width && mode.height == desktop.height;
    }
    EXPECT_TRUE(listed) << "adapter " << a << ": " << desktop.width << "x" << desktop.height
                        << " format " << desktop.format;
  }
}

}  // namespace
}  // namespace glimmer::contract
