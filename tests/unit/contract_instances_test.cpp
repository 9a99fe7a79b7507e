// The port contracts, run against the fakes.
#include "contract/elevation_contract.h"
#include "contract/node_registry_contract.h"
#include "contract/process_contract.h"
#include "contract/registry_contract.h"
#include "contract/resource_contract.h"
#include "contract/system_contract.h"
#include "contract/ui_contract.h"
#include "fakes/fake_elevation.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_resources.h"
#include "fakes/fake_system.h"

namespace glimmer::contract {
namespace {

const RegistryImplementation kFakeRegistry{
    "Fake", [] { return std::unique_ptr<RegistryPort>(new fakes::FakeRegistry()); }};

INSTANTIATE_TEST_SUITE_P(Fake, RegistryContract, testing::Values(kFakeRegistry),
                         RegistryImplementationName);
INSTANTIATE_TEST_SUITE_P(Fake, RegistryStringContract, testing::Values(kFakeRegistry),
                         RegistryImplementationName);
INSTANTIATE_TEST_SUITE_P(Fake, NodeRegistryContract, testing::Values(kFakeRegistry),
                         RegistryImplementationName);

class FakeSystemWorld : public SystemWorld {
 public:
  SystemPort& Port() override { return system_; }
  std::u16string MakeFile(std::u16string_view name) override { return Make(name); }
  std::u16string MakeFolder(std::u16string_view name) override { return Make(name); }

 private:
  std::u16string Make(std::u16string_view name) {
    const std::u16string path = u"C:\\Users\\Tester\\Contract\\" + std::u16string(name);
    system_.existingPaths.insert(path);
    return path;
  }
  fakes::FakeSystem system_;
};

INSTANTIATE_TEST_SUITE_P(Fake, SystemContract,
                         testing::Values(SystemImplementation{
                             "Fake", [] { return std::make_unique<FakeSystemWorld>(); }}),
                         SystemImplementationName);

class FakeProcessWorld : public ProcessWorld {
 public:
  FakeProcessWorld() { processes_.missingPrograms.insert(MissingProgram()); }
  ProcessPort& Port() override { return processes_; }
  std::u16string QuickProgram() override { return u"\"C:\\Windows\\system32\\cmd.exe\" /c exit"; }
  std::u16string MissingProgram() override { return u"\"C:\\Nowhere\\missing.exe\""; }
  std::u16string Folder() override { return u"C:\\Windows"; }

 private:
  fakes::FakeProcesses processes_;
};

class FakeElevationWorld : public ElevationWorld {
 public:
  FakeElevationWorld() {
    elevation_.elevated = [](const fakes::FakeElevation::RunAs&) { return 3u; };
    elevation_.missingFiles.insert(MissingProgram());
  }
  ElevationPort& Port() override { return elevation_; }
  ProcessPort& Processes() override { return processes_; }
  std::u16string QuickProgram() override { return u"C:\\Windows\\system32\\cmd.exe"; }
  std::u16string QuickParameters() override { return u"/c exit 3"; }
  std::u16string MissingProgram() override { return u"C:\\Nowhere\\missing.exe"; }

 private:
  fakes::FakeProcesses processes_;
  fakes::FakeElevation elevation_{processes_};
};

INSTANTIATE_TEST_SUITE_P(Fake, ElevationContract,
                         testing::Values(ElevationImplementation{
                             "Fake", [] { return std::make_unique<FakeElevationWorld>(); }}),
                         ElevationImplementationName);

INSTANTIATE_TEST_SUITE_P(Fake, ProcessContract,
                         testing::Values(ProcessImplementation{
                             "Fake", [] { return std::make_unique<FakeProcessWorld>(); }}),
                         ProcessImplementationName);

// The fake answers at once, so the user has nothing to press.
class FakeMessageBoxWorld : public MessageBoxWorld {
 public:
  UiPort& Port() override { return ui_; }
  WindowHandle MakeOwner() override { return 0x1234; }
  void PressOkOnNextBox() override {}
  std::vector<ShownBox> Shown() override {
    std::vector<ShownBox> shown;
    for (const auto& box : ui_.boxes) shown.push_back({box.owner, box.caption, box.text});
    return shown;
  }
  CursorHandle CurrentCursor() override { return ui_.cursor; }

 private:
  fakes::FakeUi ui_;
};

INSTANTIATE_TEST_SUITE_P(Fake, UiContract,
                         testing::Values(UiImplementation{
                             "Fake", [] { return std::make_unique<FakeMessageBoxWorld>(); }}),
                         UiImplementationName);

INSTANTIATE_TEST_SUITE_P(Fake, ResourceContract,
                         testing::Values(ResourceImplementation{
                             "Fake",
                             [] {
                               auto resources = std::make_unique<fakes::FakeResources>();
                               for (const ContractResource& resource : kContractResources)
                                 resources->Put(resource.id, resource.type, resource.bytes);
                               return std::unique_ptr<ResourcePort>(std::move(resources));
                             }}),
                         ResourceImplementationName);

}  // namespace
}  // namespace glimmer::contract
