// The controls contract against the fake.
#include "contract/dialog_controls_contract.h"

#include "fakes/fake_dialog_controls.h"

namespace glimmer::contract {
namespace {

class FakeControlsUnderTest : public ControlsUnderTest {
 public:
  FakeControlsUnderTest() {
    using Kind = fakes::FakeDialogControls::Kind;
    controls_.Add(kCheckBox, Kind::CheckBox);
    controls_.Add(kTrackBar, Kind::TrackBar);
    controls_.Add(kStatic, Kind::Static);
    controls_.Add(kCombo, Kind::Combo);
    controls_.Add(kSortedCombo, Kind::SortedCombo);
    controls_.Add(kButton, Kind::Button);
  }
  DialogControls& Controls() override { return controls_; }
  bool Shielded() override { return controls_.Shielded(kButton); }

 private:
  fakes::FakeDialogControls controls_;
};

INSTANTIATE_TEST_SUITE_P(Fake, DialogControlsContract,
                         testing::Values(DialogControlsImplementation{
                             "Fake", [] { return std::make_unique<FakeControlsUnderTest>(); }}),
                         DialogControlsName);

}  // namespace
}  // namespace glimmer::contract
