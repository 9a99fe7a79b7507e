#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "fakes/fake_dialog_controls.h"
#include "fakes/fake_direct3d11.h"
#include "resource_ids.h"
#include "settings/antialiasing_controls.h"

namespace glimmer {
namespace {

using Texts = std::vector<std::u16string>;

class AntialiasingListTest : public testing::Test {
 protected:
  void Use(std::unique_ptr<fakes::FakeDirect3D11Port> port) {
    direct3d11_ = std::move(port);
    settings_ = std::make_unique<Node>();
    controls_ = fakes::FakeDialogControls::SettingsDialog();
  }

  std::unique_ptr<fakes::FakeDirect3D11Port> direct3d11_;
  std::unique_ptr<Node> settings_;
  fakes::FakeDialogControls controls_;
};

std::unique_ptr<fakes::FakeDirect3D11Port> WithoutDevice() {
  auto port = fakes::FakeDirect3D11Port::WithCounts({2, 4});
  port->createResult = static_cast<HResult>(0x887A0004u);  // DXGI_ERROR_UNSUPPORTED
  return port;
}

struct ListCase {
  const char* name;
  bool device;
  std::set<std::uint32_t> counts;
  std::int32_t saved;  // "Antialiasing" in the tree
  Texts entries;       // in list order
  std::u16string selected;
  std::int32_t savedTicked;  // what OK saves with the box ticked
};

TEST_F(AntialiasingListTest, ListOffersTheSupportedCountsAndSelectsTheSavedOne) {
  const std::vector<ListCase> cases = {
      {"2/4/8, saved 4", true, {2, 4, 8}, 4, {u"2x", u"4x", u"8x"}, u"4x", 4},
      // The list sorts by text: 16x before 2x.
      {"2/4/8/16, saved 4", true, {2, 4, 8, 16}, 4, {u"16x", u"2x", u"4x", u"8x"}, u"4x", 4},
      {"2/4/8, defaults' 1", true, {2, 4, 8}, 1, {u"2x", u"4x", u"8x"}, u"2x", 2},
      {"2/4/8/16, defaults' 1", true, {2, 4, 8, 16}, 1, {u"16x", u"2x", u"4x", u"8x"}, u"16x", 16},
      {"saved count no longer offered", true, {2, 4}, 8, {u"2x", u"4x"}, u"2x", 2},
      {"4 only, off", true, {4}, 0, {u"4x"}, u"4x", 4},
      {"odd counts", true, {3, 5, 31}, 31, {u"31x", u"3x", u"5x"}, u"31x", 31},
      {"no counts", true, {}, 4, {}, u"", 4},
      // No device, no list: a ticked box keeps the tree's value, or 1.
      {"no device, saved 4", false, {}, 4, {}, u"", 4},
      {"no device, saved 0", false, {}, 0, {}, u"", 1},
      {"no device, saved 1", false, {}, 1, {}, u"", 1},
  };
  for (const ListCase& c : cases) {
    SCOPED_TRACE(c.name);
    Use(c.device ? fakes::FakeDirect3D11Port::WithCounts(c.counts) : WithoutDevice());
    (*settings_)[u"Antialiasing"] = c.saved;
    FillAntialiasingList(*settings_, controls_, *direct3d11_);
    EXPECT_EQ(controls_.ComboTexts(IDC_ANTIALIASING_LIST), c.entries);
    EXPECT_EQ(controls_.ComboSelectedText(IDC_ANTIALIASING_LIST), c.selected);
    for (int i = 0; i < controls_.ComboGetCount(IDC_ANTIALIASING_LIST); ++i) {
      const std::u16string text = controls_.ComboGetText(IDC_ANTIALIASING_LIST, i);
      EXPECT_EQ(std::to_string(controls_.ComboGetItemData(IDC_ANTIALIASING_LIST, i)) + "x",
                std::string(text.begin(), text.end()));
    }
    EXPECT_EQ(direct3d11_->live, 0) << "the device outlived the fill";

    controls_.SetCheck(IDC_ANTIALIASING, 1);
    EXPECT_EQ(AntialiasingToSave(*settings_, controls_), c.savedTicked);
    controls_.SetCheck(IDC_ANTIALIASING, 0);
    EXPECT_EQ(AntialiasingToSave(*settings_, controls_), 0);
  }
}

TEST_F(AntialiasingListTest, AsksTheHardwareDeviceForEachCountFromTwoToThirtyOne) {
  Use(fakes::FakeDirect3D11Port::WithCounts({2, 4, 8, 16, 32}));
  (*settings_)[u"Antialiasing"] = 32;
  FillAntialiasingList(*settings_, controls_, *direct3d11_);
  EXPECT_EQ(direct3d11_->created, 1);
  EXPECT_EQ(direct3d11_->lastDriverType, kD3dDriverTypeHardware);
  EXPECT_EQ(direct3d11_->lastFlags, 0u);
  EXPECT_EQ(direct3d11_->lastSdkVersion, kD3d11SdkVersion);
  std::vector<std::uint32_t> expected;
  for (std::uint32_t count = 2; count <= 31; ++count) expected.push_back(count);
  EXPECT_EQ(direct3d11_->countsAsked, expected);
  // 32 is never offered, so the saved 32 selects the top entry.
  EXPECT_EQ(controls_.ComboTexts(IDC_ANTIALIASING_LIST), (Texts{u"16x", u"2x", u"4x", u"8x"}));
  EXPECT_EQ(controls_.ComboSelectedText(IDC_ANTIALIASING_LIST), u"16x");
}

TEST_F(AntialiasingListTest, EveryFillStartsFromAnEmptyList) {
  Use(fakes::FakeDirect3D11Port::WithCounts({2, 4}));
  (*settings_)[u"Antialiasing"] = 4;
  FillAntialiasingList(*settings_, controls_, *direct3d11_);
  FillAntialiasingList(*settings_, controls_, *direct3d11_);
  EXPECT_EQ(controls_.ComboTexts(IDC_ANTIALIASING_LIST), (Texts{u"2x", u"4x"}));
  EXPECT_EQ(direct3d11_->created, 2);

  // The device is gone at the next fill (Restore Defaults, Cancel).
  direct3d11_->createResult = kEFail;
  FillAntialiasingList(*settings_, controls_, *direct3d11_);
  EXPECT_EQ(controls_.ComboGetCount(IDC_ANTIALIASING_LIST), 0);
  EXPECT_EQ(controls_.ComboGetCurSel(IDC_ANTIALIASING_LIST), kCbErr);
}

// A ticked box whose list reports nothing usable never saves the list's error
// value.
TEST_F(AntialiasingListTest, TickedBoxWithoutAUsableSelectionKeepsTheTreesValue) {
  struct Row {
    const char* name;
    int selection;
    std::intptr_t data;
    std::int32_t saved;
    std::int32_t written;
  };
  const Row rows[] = {
      {"no selection, saved 8", -1, 4, 8, 8},
      {"no selection, saved 0", -1, 4, 0, 1},
      {"selection with error data", 0, kCbErr, 6, 6},
      {"selection with data 0", 0, 0, 0, 1},
      {"selection of 4", 0, 4, 8, 4},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Use(fakes::FakeDirect3D11Port::WithCounts({4}));
    (*settings_)[u"Antialiasing"] = row.saved;
    FillAntialiasingList(*settings_, controls_, *direct3d11_);
    controls_.ComboSetItemData(IDC_ANTIALIASING_LIST, 0, row.data);
    controls_.ComboSetCurSel(IDC_ANTIALIASING_LIST, row.selection);
    controls_.SetCheck(IDC_ANTIALIASING, 1);
    EXPECT_EQ(AntialiasingToSave(*settings_, controls_), row.written);
  }
}

}  // namespace
}  // namespace glimmer
