// The video memory ports' contracts, run against the fakes.
#include "contract/directdraw_contract.h"
#include "contract/display_device_contract.h"
#include "contract/wmi_contract.h"
#include "fakes/fake_directdraw.h"
#include "fakes/fake_display_devices.h"
#include "fakes/fake_wmi.h"

namespace glimmer::contract {
namespace {

INSTANTIATE_TEST_SUITE_P(Fake, WmiContract,
                         testing::Values(WmiImplementation{
                             "Fake", [] { return std::make_unique<fakes::FakeWmi>(); }}),
                         WmiImplementationName);

INSTANTIATE_TEST_SUITE_P(
    Fake, DirectDrawContract,
    testing::Values(
        DirectDrawImplementation{"Fake", [] { return std::make_unique<fakes::FakeDirectDraw>(); }},
        // As Wine with two Xinerama screens: one device per monitor.
        DirectDrawImplementation{"TwoMonitors",
                                 [] {
                                   auto port = std::make_unique<fakes::FakeDirectDraw>();
                                   port->devices.push_back(
                                       fakes::FakeDirectDraw::MonitorDevice(2, 0x10002));
                                   return port;
                                 },
                                 [] { return 2L; }}),
    DirectDrawImplementationName);

INSTANTIATE_TEST_SUITE_P(Fake, DisplayDeviceContract,
                         testing::Values(DisplayDeviceImplementation{
                             "Fake", [] { return std::make_unique<fakes::FakeDisplayDevices>(); }}),
                         DisplayDeviceImplementationName);

}  // namespace
}  // namespace glimmer::contract
