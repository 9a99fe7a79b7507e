// The display device contract against User32; the native tests hold the fake to it.
#include "contract/display_device_contract.h"
#include "win32/display_device_win32.h"

namespace glimmer::contract {
namespace {

INSTANTIATE_TEST_SUITE_P(Platform, DisplayDeviceContract,
                         testing::Values(DisplayDeviceImplementation{
                             "Win32",
                             [] { return std::make_unique<win32::Win32DisplayDevices>(); }}),
                         DisplayDeviceImplementationName);

}  // namespace
}  // namespace glimmer::contract
