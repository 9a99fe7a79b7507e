#include "contract/window_port_contract.h"
#include "fakes/fake_windows.h"

namespace glimmer::contract {
namespace {

class FakeWindowTree : public WindowTree {
 public:
  WindowPort& Port() override { return windows_; }
  WindowHandle CreateTop(std::u16string_view text) override { return windows_.Create(0, text); }
  WindowHandle CreateChild(WindowHandle parent, std::u16string_view text) override {
    return windows_.Create(parent, text);
  }
  WindowHandle DeadHandle() override {
    const WindowHandle window = windows_.Create(0, u"Gone");
    windows_.Destroy(window);
    return window;
  }

 private:
  fakes::FakeWindows windows_;
};

INSTANTIATE_TEST_SUITE_P(Native, WindowPortContract,
                         ::testing::Values(WindowPortImplementation{
                             "Fake", [] { return std::make_unique<FakeWindowTree>(); }}),
                         ImplementationName);

}  // namespace
}  // namespace glimmer::contract
