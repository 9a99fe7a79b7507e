// The display port contracts, run against the fakes in every staged
// configuration the display tests use.
#include "contract/direct3d11_contract.h"
#include "contract/direct3d9_contract.h"
#include "contract/monitor_contract.h"
#include "fakes/fake_direct3d11.h"
#include "fakes/fake_direct3d9.h"
#include "fakes/fake_monitors.h"

namespace glimmer::contract {
namespace {

namespace stagings = fakes::stagings;

Direct3D9Implementation Staged(std::string name, std::vector<fakes::FakeD3dAdapter> adapters) {
  return {std::move(name), [adapters] {
            auto port = std::make_unique<fakes::FakeDirect3D9Port>();
            port->adapters = adapters;
            return std::unique_ptr<Direct3D9Port>(std::move(port));
          }};
}

INSTANTIATE_TEST_SUITE_P(
    Fake, Direct3D9Contract,
    testing::Values(Staged("WineLike", stagings::WineLike()),
                    Staged("DualHead", stagings::DualHead()),
                    Staged("TwoAdapters", stagings::TwoAdapters()),
                    Staged("WineTwoMonitors", stagings::WineTwoMonitors()),
                    Staged("FirstWithoutUsableMode", stagings::FirstWithoutUsableMode()),
                    Staged("SixteenBitDesktop", stagings::SixteenBitDesktop()),
                    Staged("NoHardwareTransform", stagings::NoHardwareTransform()),
                    Staged("DepthDownToD24S8", stagings::DepthDownToD24S8()),
                    Staged("ManyModes", stagings::ManyModes(130)),
                    Staged("TenAdapters", stagings::TenAdapters())),
    Direct3D9ImplementationName);

Direct3D11Implementation Counts(std::string name, std::set<std::uint32_t> counts) {
  return {std::move(name),
          [counts] {
            return std::unique_ptr<Direct3D11Port>(fakes::FakeDirect3D11Port::WithCounts(counts));
          },
          true, counts};
}

Direct3D11Implementation NoDevice() {
  return {"NoDevice",
          [] {
            auto port = fakes::FakeDirect3D11Port::WithCounts({4});
            port->createResult = static_cast<HResult>(0x887A0004u);  // DXGI_ERROR_UNSUPPORTED
            return std::unique_ptr<Direct3D11Port>(std::move(port));
          },
          false,
          {}};
}

INSTANTIATE_TEST_SUITE_P(Fake, Direct3D11Contract,
                         testing::Values(Counts("WineLike", {4}), Counts("Counts2to8", {2, 4, 8}),
                                         Counts("Counts2to16", {2, 4, 8, 16}), NoDevice()),
                         Direct3D11ImplementationName);

MonitorImplementation Monitors(std::string name, std::uint32_t stateFlags) {
  return {std::move(name), [stateFlags] {
            auto port = std::make_unique<fakes::FakeMonitors>();
            port->Add(stagings::MonitorOfAdapter(0), ScreenRect{0, 0, 1024, 768},
                      u"\\\\.\\DISPLAY1", u"Generic Monitor", stateFlags);
            port->Add(stagings::MonitorOfAdapter(1), ScreenRect{1024, 0, 2048, 768},
                      u"\\\\.\\DISPLAY2", u"Other Monitor", kDisplayDeviceActive);
            MonitorSetup setup;
            setup.port = std::move(port);
            setup.monitor = stagings::MonitorOfAdapter(0);
            setup.activeMonitorAttached = (stateFlags & kDisplayDeviceActive) != 0;
            return setup;
          }};
}

INSTANTIATE_TEST_SUITE_P(Fake, MonitorContract,
                         testing::Values(Monitors("ActiveMonitor",
                                                  kDisplayDeviceActive | kDisplayDeviceAttached),
                                         Monitors("InactiveMonitor", kDisplayDeviceAttached)),
                         MonitorImplementationName);

}  // namespace
}  // namespace glimmer::contract
