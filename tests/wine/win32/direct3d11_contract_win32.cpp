// The Direct3D 11 contract against d3d11.dll; the native tests hold the fake to
// it. Wine's hardware device here supports 4 samples and no other count.
#include "contract/direct3d11_contract.h"
#include "win32/direct3d11_win32.h"

namespace glimmer::contract {
namespace {

INSTANTIATE_TEST_SUITE_P(
    Platform, Direct3D11Contract,
    testing::Values(Direct3D11Implementation{
        "Win32", [] { return std::make_unique<win32::Win32Direct3D11>(); }, true, {4}}),
    Direct3D11ImplementationName);

}  // namespace
}  // namespace glimmer::contract
