// The DirectDraw contract against ddraw.dll; the native tests hold the fake to it.
#include "contract/directdraw_contract.h"
#include "win32/directdraw_win32.h"

namespace glimmer::contract {
namespace {

INSTANTIATE_TEST_SUITE_P(Platform, DirectDrawContract,
                         testing::Values(DirectDrawImplementation{
                             "Win32", [] { return std::make_unique<win32::Win32DirectDraw>(); },
                             [] { return static_cast<long>(GetSystemMetrics(SM_CMONITORS)); }}),
                         DirectDrawImplementationName);

}  // namespace
}  // namespace glimmer::contract
