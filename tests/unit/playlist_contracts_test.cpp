// The file and playlist-window contracts, run against the fakes.
#include "contract/file_contract.h"
#include "contract/playlist_controls_contract.h"
#include "fakes/fake_files.h"
#include "fakes/fake_playlist_controls.h"

namespace glimmer::contract {
namespace {

class FakeFileBench : public FileBench {
 public:
  FilePort& Port() override { return files_; }
  std::u16string Folder() override { return u"C:\\Users\\Tester\\Music\\"; }
  void Write(std::u16string_view name, std::string_view bytes) override {
    files_.Put(Folder() + std::u16string(name), bytes);
  }
  void MakeFolder(std::u16string_view) override {}  // folders never open as files
  std::uint32_t AnsiCodePage() override { return files_.ansiCodePage; }

 private:
  fakes::FakeFiles files_;
};

class FakePlaylistWindow : public PlaylistWindow {
 public:
  PlaylistControls& Controls() override { return controls_; }
  bool OkShielded() override { return controls_.okShield; }
  void Select(int index, bool selected) override { controls_.Select(index, selected); }
  std::vector<std::u16string> ItemTexts() override { return controls_.Texts(); }
  std::u16string MusicFolder(bool root) override { return root ? u"C:\\" : u"C:\\Music"; }
  void AnswerFileDialog(std::u16string folder, std::vector<std::u16string> names) override {
    controls_.choices.push_back({std::move(folder), std::move(names)});
  }
  bool ChecksResultBufferSize() override { return true; }

 private:
  fakes::FakePlaylistControls controls_;
};

INSTANTIATE_TEST_SUITE_P(Fake, FilePortContract,
                         ::testing::Values(FileImplementation{
                             "Fake", [] { return std::make_unique<FakeFileBench>(); }}),
                         FileImplementationName);

INSTANTIATE_TEST_SUITE_P(Fake, PlaylistControlsContract,
                         ::testing::Values(PlaylistImplementation{
                             "Fake", [] { return std::make_unique<FakePlaylistWindow>(); }}),
                         PlaylistImplementationName);

}  // namespace
}  // namespace glimmer::contract
