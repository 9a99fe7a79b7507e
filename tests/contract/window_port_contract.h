// What every WindowPort must do, whatever stands behind it. The suite runs
// natively against the fake and under Wine against the Win32 adapter, so the
// logic tests that rely on the fake rely on real behaviour.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace glimmer::contract {

// A message as it reached its window's queue.
struct ReceivedMessage {
  std::uint32_t message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  friend bool operator==(const ReceivedMessage&, const ReceivedMessage&) = default;
};

inline void PrintTo(const ReceivedMessage& received, std::ostream* out) {
  *out << "{0x" << std::hex << received.message << std::dec << ", " << received.wParam << ", "
       << received.lParam << "}";
}

// A window tree to test on, made by the implementation under test.
class WindowTree {
 public:
  virtual ~WindowTree() = default;
  virtual WindowPort& Port() = 0;
  // A top-level window with text.
  virtual WindowHandle CreateTop(std::u16string_view text) = 0;
  // A child of parent with text, placed last in its Z order.
  virtual WindowHandle CreateChild(WindowHandle parent, std::u16string_view text) = 0;
  // A window of the named class: top-level when parent is 0, else a child
  // placed last among parent's children.
  virtual WindowHandle CreateOfClass(WindowHandle parent, std::u16string_view className) = 0;
  // Destroys window and its descendants.
  virtual void Destroy(WindowHandle window) = 0;
  // A handle that names no window (a destroyed one).
  virtual WindowHandle DeadHandle() = 0;
  // The posted messages that reached window (0: the thread's own queue) since
  // the last call, in arrival order, taken out of the queue.
  virtual std::vector<ReceivedMessage> TakeReceived(WindowHandle window) = 0;
};

// Each test binary instantiates the suite, inside this namespace, with
//   INSTANTIATE_TEST_SUITE_P(Prefix, WindowPortContract, ::testing::Values(implementation),
//                            ImplementationName);
struct WindowPortImplementation {
  std::string name;
  std::function<std::unique_ptr<WindowTree>()> make;
};

inline void PrintTo(const WindowPortImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string ImplementationName(
    const ::testing::TestParamInfo<WindowPortImplementation>& info) {
  return info.param.name;
}

class WindowPortContract : public ::testing::TestWithParam<WindowPortImplementation> {
 protected:
  void SetUp() override { tree_ = GetParam().make(); }
  WindowTree& Tree() { return *tree_; }
  WindowPort& Port() { return tree_->Port(); }

 private:
  std::unique_ptr<WindowTree> tree_;
};

}  // namespace glimmer::contract
