#include <map>

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
  WindowHandle CreateOfClass(WindowHandle parent, std::u16string_view className) override {
    return windows_.Create(parent, u"", className);
  }
  void Destroy(WindowHandle window) override { windows_.Destroy(window); }
  WindowHandle DeadHandle() override {
    const WindowHandle window = windows_.Create(0, u"Gone");
    windows_.Destroy(window);
    return window;
  }
  std::vector<ReceivedMessage> TakeReceived(WindowHandle window) override {
    std::vector<ReceivedMessage> received;
    std::size_t seen = 0;
    std::size_t& taken = taken_[window];
    for (const fakes::PostedMessage& posted : windows_.Posted()) {
      if (posted.window != window || seen++ < taken) continue;
      received.push_back({posted.message, posted.wParam, posted.lParam});
    }
    taken = seen;
    return received;
  }

 private:
  fakes::FakeWindows windows_;
  std::map<WindowHandle, std::size_t> taken_;
};

INSTANTIATE_TEST_SUITE_P(Native, WindowPortContract,
                         ::testing::Values(WindowPortImplementation{
                             "Fake", [] { return std::make_unique<FakeWindowTree>(); }}),
                         ImplementationName);

}  // namespace
}  // namespace glimmer::contract
