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

INSTANTIATE_TEST_SUITE_P(Fake, DirectDrawContract,
                         testing::Values(DirectDrawImplementation{
                             "Fake", [] { return std::make_unique<fakes::FakeDirectDraw>(); }}),
                         DirectDrawImplementationName);

INSTANTIATE_TEST_SUITE_P(Fake, DisplayDeviceContract,
                         testing::Values(DisplayDeviceImplementation{
                             "Fake", [] { return std::make_unique<fakes::FakeDisplayDevices>(); }}),
                         DisplayDeviceImplementationName);

}  // namespace
}  // namespace glimmer::contract
