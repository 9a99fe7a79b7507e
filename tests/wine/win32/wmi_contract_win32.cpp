// The WMI contract against the real service; the native tests hold the fake to it.
#include "contract/wmi_contract.h"
#include "win32/wmi_win32.h"

namespace glimmer::contract {
namespace {

INSTANTIATE_TEST_SUITE_P(Platform, WmiContract,
                         testing::Values(WmiImplementation{
                             "Win32", [] { return std::make_unique<win32::Win32Wmi>(); }}),
                         WmiImplementationName);

}  // namespace
}  // namespace glimmer::contract
