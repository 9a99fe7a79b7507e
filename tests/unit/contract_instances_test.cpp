// The port contracts, run against the fakes.
#include "contract/registry_contract.h"
#include "fakes/fake_registry.h"

namespace glimmer::contract {
namespace {

const RegistryImplementation kFakeRegistry{
    "Fake", [] { return std::unique_ptr<RegistryPort>(new fakes::FakeRegistry()); }};

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract, testing::Values(kFakeRegistry),
                         RegistryImplementationName);
INSTANTIATE_TEST_SUITE_P(Fake, RegistryStringContract, testing::Values(kFakeRegistry),
                         RegistryImplementationName);

}  // namespace
}  // namespace glimmer::contract
