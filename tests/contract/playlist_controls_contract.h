// What every PlaylistControls must do: the fake natively, the controls of a
// dialog made from template 162 and the system's file-open dialog under Wine.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "playlist/playlist_controls.h"

namespace glimmer::contract {

// The editor's window, made by the implementation under test.
class PlaylistWindow {
 public:
  virtual ~PlaylistWindow() = default;
  virtual PlaylistControls& Controls() = 0;
  // Whether the OK button was last told to show the UAC shield.
  virtual bool OkShielded() = 0;
  // Selects or deselects an item as a click with Ctrl would.
  virtual void Select(int index, bool selected) = 0;
  virtual std::vector<std::u16string> ItemTexts() = 0;
  // A folder holding a.mp3, b.mp3 and c.mp3, without a trailing backslash;
  // with root, the root folder of a drive (which has one).
  virtual std::u16string MusicFolder(bool root) = 0;
  // The next file-open dialog chooses names in folder; no names cancels it.
  virtual void AnswerFileDialog(std::u16string folder, std::vector<std::u16string> names) = 0;
  // Whether a selection too long for the result buffer makes the dialog fail
  // with FNERR_BUFFERTOOSMALL, as Windows does. Wine 8 writes past the buffer
  // and reports success instead.
  virtual bool ChecksResultBufferSize() = 0;
};

// Each test binary instantiates the suite, inside this namespace, with
//   INSTANTIATE_TEST_SUITE_P(Prefix, PlaylistControlsContract, ::testing::Values(implementation),
//                            PlaylistImplementationName);
struct PlaylistImplementation {
  std::string name;
  std::function<std::unique_ptr<PlaylistWindow>()> make;
};

inline void PrintTo(const PlaylistImplementation& implementation, std::ostream* out) {
  *out << implementation.name;
}

inline std::string PlaylistImplementationName(
    const ::testing::TestParamInfo<PlaylistImplementation>& info) {
  return info.param.name;
}

class PlaylistControlsContract : public ::testing::TestWithParam<PlaylistImplementation> {
 protected:
  void SetUp() override { window_ = GetParam().make(); }
  PlaylistWindow& Window() { return *window_; }
  PlaylistControls& Controls() { return window_->Controls(); }

 private:
  std::unique_ptr<PlaylistWindow> window_;
};

}  // namespace glimmer::contract
