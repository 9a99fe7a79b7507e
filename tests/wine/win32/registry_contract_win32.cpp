// The registry contracts against the Windows registry, and the fake beside it
// so both are held to the same suite in one run.
#include "contract/node_registry_contract.h"
#include "contract/registry_contract.h"
#include "fakes/fake_registry.h"
#include "win32/registry_win32.h"

namespace glimmer::contract {
namespace {

const RegistryImplementation kImplementations[] = {
    {"Win32", [] { return std::unique_ptr<RegistryPort>(new win32::Win32Registry()); }},
    {"Fake", [] { return std::unique_ptr<RegistryPort>(new fakes::FakeRegistry()); }},
};

INSTANTIATE_TEST_SUITE_P(Platform, RegistryContract, testing::ValuesIn(kImplementations),
                         RegistryImplementationName);
INSTANTIATE_TEST_SUITE_P(Platform, RegistryStringContract, testing::ValuesIn(kImplementations),
                         RegistryImplementationName);
INSTANTIATE_TEST_SUITE_P(Platform, NodeRegistryContract, testing::ValuesIn(kImplementations),
                         RegistryImplementationName);

}  // namespace
}  // namespace glimmer::contract
