// What every UiPort must do, whatever stands behind it: run natively against
// the fake and under Wine against MessageBoxW, answered by another thread.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace glimmer::contract {

inline constexpr int kIdOk = 1;

// A message box as the user saw it.
struct ShownBox {
  WindowHandle owner = 0;
  std::u16string caption;
  std::u16string text;
};

// The user in front of the boxes, provided by the implementation under test.
class MessageBoxWorld {
 public:
  virtual ~MessageBoxWorld() = default;
  virtual UiPort& Port() = 0;
  // A top-level window that can own a box.
  virtual WindowHandle MakeOwner() = 0;
  // Reads the next box that comes up and presses its OK button.
  virtual void PressOkOnNextBox() = 0;
  // The boxes read so far, oldest first.
  virtual std::vector<ShownBox> Shown() = 0;
  // The cursor of the port's thread now (GetCursor).
  virtual CursorHandle CurrentCursor() = 0;
};

struct UiImplementation {
  std::string name;
  std::function<std::unique_ptr<MessageBoxWorld>()> make;
};

inline void PrintTo(const UiImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string UiImplementationName(const ::testing::TestParamInfo<UiImplementation>& info) {
  return info.param.name;
}

class UiContract : public ::testing::TestWithParam<UiImplementation> {
 protected:
  void SetUp() override { world_ = GetParam().make(); }
  MessageBoxWorld& World() { return *world_; }
  UiPort& Port() { return world_->Port(); }

 private:
  std::unique_ptr<MessageBoxWorld> world_;
};

}  // namespace glimmer::contract
