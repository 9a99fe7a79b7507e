// The resource contract against the test program's own resource section.
#include "contract/resource_contract.h"
#include "win32/resources_win32.h"

namespace glimmer::contract {
namespace {

INSTANTIATE_TEST_SUITE_P(
    Platform, ResourceContract,
    ::testing::Values(ResourceImplementation{
        "Win32", [] { return std::unique_ptr<ResourcePort>(new win32::Win32Resources()); }}),
    ResourceImplementationName);

}  // namespace
}  // namespace glimmer::contract
