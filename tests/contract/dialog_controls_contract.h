// What every DialogControls must do, whatever stands behind it: run natively
// against the fake and under Wine against real controls in a real dialog.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "dialog/dialog_controls.h"

namespace glimmer::contract {

// The controls every implementation under test provides.
inline constexpr ControlId kCheckBox = 10;
inline constexpr ControlId kTrackBar = 11;
inline constexpr ControlId kStatic = 12;
inline constexpr ControlId kCombo = 13;
inline constexpr ControlId kSortedCombo = 14;
inline constexpr ControlId kButton = 15;
inline constexpr ControlId kAbsent = 99;

class ControlsUnderTest {
 public:
  virtual ~ControlsUnderTest() = default;
  virtual DialogControls& Controls() = 0;
  // Whether the push button kButton was last told to show the UAC shield.
  virtual bool Shielded() = 0;
};

struct DialogControlsImplementation {
  std::string name;
  std::function<std::unique_ptr<ControlsUnderTest>()> make;
};

inline void PrintTo(const DialogControlsImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string DialogControlsName(
    const ::testing::TestParamInfo<DialogControlsImplementation>& info) {
  return info.param.name;
}

class DialogControlsContract : public ::testing::TestWithParam<DialogControlsImplementation> {
 protected:
  void SetUp() override { under_test_ = GetParam().make(); }
  DialogControls& Controls() { return under_test_->Controls(); }
  ControlsUnderTest& Under() { return *under_test_; }

 private:
  std::unique_ptr<ControlsUnderTest> under_test_;
};

}  // namespace glimmer::contract
