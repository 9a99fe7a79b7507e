// The Direct3D 9 contract against d3d9.dll; the native tests hold the fake to it.
#include "contract/direct3d9_contract.h"
#include "win32/direct3d9_win32.h"

namespace glimmer::contract {
namespace {

INSTANTIATE_TEST_SUITE_P(Platform, Direct3D9Contract,
                         testing::Values(Direct3D9Implementation{
                             "Win32", [] { return std::make_unique<win32::Win32Direct3D9>(); }}),
                         Direct3D9ImplementationName);

}  // namespace
}  // namespace glimmer::contract
