#include "display/display_inventory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/fake_direct3d9.h"
#include "fakes/fake_monitors.h"
#include "platform/text.h"

namespace glimmer {
namespace {

namespace stagings = fakes::stagings;
using fakes::FakeD3dAdapter;

class DisplayInventoryTest : public testing::Test {
 protected:
  DisplayInventoryTest() { settings_ = std::make_unique<Node>(); }

  // A fresh start for the next row of a table.
  void Reset() {
    direct3d9_.calls.clear();
    direct3d9_.unavailable = false;
    monitors_ = fakes::FakeMonitors();
    settings_ = std::make_unique<Node>();
  }

  HResult Enumerate(std::vector<FakeD3dAdapter> adapters) {
    direct3d9_.adapters = std::move(adapters);
    monitors_.AddForAdapters(direct3d9_.adapters);
    return inventory_.EnumerateDisplayAdapters(*settings_, accept_);
  }

  // The modes of adapter record a's device as "WxH f<format> vp<hex> d<depth>".
  std::vector<std::string> Modes(std::uint32_t a) const {
    std::vector<std::string> texts;
    const DeviceRecord* device = inventory_.FirstDevice(a);
    if (!device) return texts;
    for (std::uint32_t j = 0; j < device->modeCount; ++j) {
      const ModeRecord& m = device->modes[j];
      char text[80];
      std::snprintf(text, sizeof text, "%ux%u f%d vp%x d%d", m.width, m.height, m.format,
                    m.vertexProcessing, m.depthStencilFormat);
      texts.push_back(text);
    }
    return texts;
  }

  fakes::FakeDirect3D9Port direct3d9_;
  fakes::FakeMonitors monitors_;
  std::unique_ptr<Node> settings_;
  AcceptDeviceHook accept_ = [](const D3dCaps&, std::uint32_t, std::int32_t) { return kSOk; };
  DisplayInventory inventory_{direct3d9_, monitors_};
};

// One row per staged configuration: what gets recorded, and in which order.
struct StagingCase {
  const char* name;
  std::vector<FakeD3dAdapter> adapters;
  std::vector<std::u16string> displayNames;
  std::vector<std::string> firstAdapterModes;
  std::uint32_t groupSize;  // the first adapter's NumberOfAdaptersInGroup
};

TEST_F(DisplayInventoryTest, StagedHardwareIsRecordedAdapterByAdapter) {
  const std::vector<StagingCase> cases = {
      {"WineLike", stagings::WineLike(), {u"Monitor 1"}, {"1024x768 f22 vp40 d77"}, 1},
      {"DualHead",
       stagings::DualHead(),
       {u"Monitor 1", u"Monitor 2"},
       {"800x600 f22 vp40 d71", "1024x768 f22 vp40 d71", "1280x1024 f22 vp40 d71"},
       2},
      // The second head's empty desktop does not keep it out.
      {"WineTwoMonitors",
       stagings::WineTwoMonitors(),
       {u"Monitor 1", u"Monitor 2"},
       {"1280x1024 f22 vp40 d77"},
       2},
      {"TwoAdapters",
       stagings::TwoAdapters(),
       {u"Monitor 1", u"Monitor 2"},
       {"1920x1080 f22 vp40 d71"},
       1},
      // Adapter 0 is left out; adapter 1 takes record and monitor index 0.
      {"FirstWithoutUsableMode",
       stagings::FirstWithoutUsableMode(),
       {u"Monitor 2"},
       {"1024x768 f22 vp40 d71"},
       1},
      {"NoHardwareTransform",
       stagings::NoHardwareTransform(),
       {u"Monitor 1"},
       {"1024x768 f22 vp20 d71"},
       1},
      {"DepthDownToD24S8",
       stagings::DepthDownToD24S8(),
       {u"Monitor 1"},
       {"1024x768 f22 vp40 d75"},
       1},
      // Only X8R8G8B8 modes are asked for; the 16-bit desktop format is tested
      // first but lists no mode of its own.
      {"SixteenBitDesktop",
       stagings::SixteenBitDesktop(),
       {u"Monitor 1"},
       {"800x600 f22 vp40 d71", "1024x768 f22 vp40 d71"},
       1},
  };
  for (const StagingCase& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    ASSERT_EQ(Enumerate(c.adapters), kSOk);
    ASSERT_EQ(inventory_.MonitorCount(), c.displayNames.size());
    EXPECT_EQ(inventory_.AdapterCount(), inventory_.MonitorCount());
    for (std::uint32_t i = 0; i < c.displayNames.size(); ++i)
      EXPECT_EQ(inventory_.Monitor(i)->displayName, c.displayNames[i]) << i;
    EXPECT_EQ(Modes(0), c.firstAdapterModes);
    EXPECT_EQ(inventory_.FirstAdapterCaps().numberOfAdaptersInGroup, c.groupSize);
    EXPECT_EQ(inventory_.Monitor(inventory_.MonitorCount()), nullptr);
    EXPECT_EQ(direct3d9_.live, 0) << "the Direct3D object outlived the enumeration";
  }
}

TEST_F(DisplayInventoryTest, RecordsKeepTheDeviceFieldsAndTheSkippedAdapterLeavesNoGap) {
  ASSERT_EQ(Enumerate(stagings::FirstWithoutUsableMode()), kSOk);
  const AdapterRecord* record = inventory_.Adapter(0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->identifier.description, "Fake Graphics 2");
  EXPECT_EQ(record->desktopMode.width, 1024u);
  EXPECT_EQ(record->deviceCount, 1u);
  EXPECT_EQ(record->currentDevice, 0u);
  const DeviceRecord& device = record->devices[0];
  EXPECT_EQ(device.deviceType, kD3dDevTypeHal);
  EXPECT_EQ(std::u16string(device.typeName), u"HAL");
  EXPECT_EQ(device.caps.adapterOrdinal, 1u);
  EXPECT_TRUE(device.desktopFormatUsable);
  EXPECT_TRUE(device.windowed);
  EXPECT_EQ(device.multisampleType, 0u);
  EXPECT_EQ(inventory_.Monitor(0)->monitor, stagings::MonitorOfAdapter(1));
  EXPECT_EQ(inventory_.Adapter(1), nullptr);
  // The first-adapter caps are adapter 0's even though it was left out.
  EXPECT_EQ(inventory_.FirstAdapterCaps().adapterOrdinal, 0u);
}

TEST_F(DisplayInventoryTest, ModesAreFilteredDedupedAndSorted) {
  std::vector<FakeD3dAdapter> adapters = stagings::WineLike();
  adapters[0].modes = {
      {1024, 768, 60, kD3dFmtX8R8G8B8}, {800, 600, 60, kD3dFmtX8R8G8B8},
      {800, 600, 75, kD3dFmtX8R8G8B8},  {800, 600, 85, kD3dFmtX8R8G8B8},
      {640, 400, 60, kD3dFmtX8R8G8B8},  {600, 800, 60, kD3dFmtX8R8G8B8},
      {639, 480, 60, kD3dFmtX8R8G8B8},  {640, 479, 60, kD3dFmtX8R8G8B8},
      {640, 480, 60, kD3dFmtX8R8G8B8},  {1024, 600, 60, kD3dFmtX8R8G8B8},
      {4096, 480, 60, kD3dFmtX8R8G8B8}, {640, 4096, 60, kD3dFmtX8R8G8B8},
  };
  ASSERT_EQ(Enumerate(adapters), kSOk);
  EXPECT_EQ(Modes(0), (std::vector<std::string>{"640x480 f22 vp40 d77", "640x4096 f22 vp40 d77",
                                                "800x600 f22 vp40 d77", "1024x600 f22 vp40 d77",
                                                "1024x768 f22 vp40 d77", "4096x480 f22 vp40 d77"}));
}

// The desktop format is tested first, then each mode format once, each with
// CheckDeviceType(f, f, full-screen); the desktop flag follows the first only.
TEST_F(DisplayInventoryTest, DesktopFormatIsTestedFirstAndDecidesTheDesktopFlag) {
  for (bool desktopUsable : {true, false}) {
    SCOPED_TRACE(desktopUsable ? "16-bit desktop usable" : "16-bit desktop refused");
    Reset();
    std::vector<FakeD3dAdapter> adapters = stagings::SixteenBitDesktop();
    adapters[0].formats[kD3dFmtR5G6B5].displayFormat = desktopUsable;
    ASSERT_EQ(Enumerate(adapters), kSOk);
    EXPECT_EQ(
        direct3d9_.CallsStartingWith("CheckDeviceType("),
        (std::vector<std::string>{"CheckDeviceType(0,1,23,23,0)", "CheckDeviceType(0,1,22,22,0)"}));
    EXPECT_EQ(direct3d9_.CallsStartingWith("GetAdapterModeCount("),
              std::vector<std::string>{"GetAdapterModeCount(0,22)"});
    const DeviceRecord* device = inventory_.FirstDevice(0);
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->desktopFormatUsable, desktopUsable);
    EXPECT_EQ(device->windowed, desktopUsable);
    EXPECT_EQ(device->modeCount, 2u);
  }
}

struct AcceptCase {
  const char* name;
  std::uint32_t devCaps;
  bool acceptsHardware;
  bool acceptsSoftware;
  std::vector<std::uint32_t> asked;  // vertex processing flags, in order
  std::uint32_t recorded;            // 0: the adapter is left out
};

TEST_F(DisplayInventoryTest, AcceptDeviceIsAskedHardwareFirstThenSoftware) {
  const std::vector<AcceptCase> cases = {
      {"hardware accepted", kD3dDevCapsHwTransformAndLight, true, true, {0x40}, 0x40},
      {"hardware refused", kD3dDevCapsHwTransformAndLight, false, true, {0x40, 0x20}, 0x20},
      {"no T&L", 0, true, true, {0x20}, 0x20},
      {"all refused", kD3dDevCapsHwTransformAndLight, false, false, {0x40, 0x20}, 0},
      {"no T&L, refused", 0, true, false, {0x20}, 0},
  };
  for (const AcceptCase& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    std::vector<FakeD3dAdapter> adapters = stagings::WineLike();
    adapters[0].caps.devCaps = c.devCaps | 0x20;  // other bits pass through
    std::vector<std::uint32_t> asked;
    accept_ = [&](const D3dCaps& caps, std::uint32_t vertexProcessing, std::int32_t format) {
      EXPECT_EQ(caps.devCaps, c.devCaps | 0x20);
      EXPECT_EQ(format, kD3dFmtX8R8G8B8);
      asked.push_back(vertexProcessing);
      const bool hardware = vertexProcessing == kD3dCreateHardwareVertexProcessing;
      return (hardware ? c.acceptsHardware : c.acceptsSoftware) ? kSOk : kEFail;
    };
    EXPECT_EQ(Enumerate(adapters), c.recorded ? kSOk : kEFail);
    EXPECT_EQ(asked, c.asked);
    if (c.recorded) {
      ASSERT_EQ(inventory_.AdapterCount(), 1u);
      EXPECT_EQ(inventory_.FirstDevice(0)->modes[0].vertexProcessing, c.recorded);
    } else {
      EXPECT_EQ(inventory_.AdapterCount(), 0u);
      EXPECT_EQ(inventory_.MonitorCount(), 0u);
    }
  }
}

struct DepthCase {
  const char* name;
  std::set<std::int32_t> depthFormats;
  std::set<std::int32_t> depthMatches;
  std::int32_t picked;  // kD3dFmtUnknown: none
  std::vector<std::string> calls;
};

TEST_F(DisplayInventoryTest, PickDepthStencilFormatTakesTheFirstCandidatePassingBothChecks) {
  const std::set<std::int32_t> all = {71, 75, 77, 79, 80};
  const std::vector<DepthCase> cases = {
      {"all",
       all,
       all,
       71,
       {"CheckDeviceFormat(0,1,22,2,1,71)", "CheckDepthStencilMatch(0,1,22,22,71)"}},
      {"down to D24S8",
       {77, 75, 80},
       {71, 75, 80},
       75,
       {"CheckDeviceFormat(0,1,22,2,1,71)", "CheckDeviceFormat(0,1,22,2,1,77)",
        "CheckDepthStencilMatch(0,1,22,22,77)", "CheckDeviceFormat(0,1,22,2,1,75)",
        "CheckDepthStencilMatch(0,1,22,22,75)"}},
      {"only D24X4S4", {79}, {79}, 79, {}},
      {"only D16", {80}, {80}, 80, {}},
      {"formats without a match", all, {}, kD3dFmtUnknown, {}},
      {"matches without a format", {}, all, kD3dFmtUnknown, {}},
  };
  for (const DepthCase& c : cases) {
    SCOPED_TRACE(c.name);
    fakes::FakeDirect3D9Port port;
    port.adapters = stagings::WineLike();
    port.adapters[0].formats[kD3dFmtX8R8G8B8].depthFormats = c.depthFormats;
    port.adapters[0].formats[kD3dFmtX8R8G8B8].depthMatches = c.depthMatches;
    std::unique_ptr<Direct3D9> direct3d = port.Direct3DCreate9(kD3dSdkVersion);
    std::int32_t picked = -1;
    EXPECT_EQ(DisplayInventory::PickDepthStencilFormat(*direct3d, 0, kD3dDevTypeHal,
                                                       kD3dFmtX8R8G8B8, picked),
              c.picked != kD3dFmtUnknown);
    if (c.picked != kD3dFmtUnknown) {
      EXPECT_EQ(picked, c.picked);
    }
    if (!c.calls.empty()) {
      EXPECT_EQ(port.calls, c.calls);
    }
  }

  // An adapter whose every format lacks a depth buffer is left out.
  std::vector<FakeD3dAdapter> adapters = stagings::WineLike();
  adapters[0].formats[kD3dFmtX8R8G8B8].depthMatches.clear();
  EXPECT_EQ(Enumerate(adapters), kEFail);
}

TEST_F(DisplayInventoryTest, FindModeIndexMatchesSizeAndFormatOnly) {
  ASSERT_EQ(Enumerate(stagings::DualHead()), kSOk);
  struct Row {
    std::uint32_t adapter;
    D3dDisplayMode mode;
    std::uint32_t expected;
  };
  const Row rows[] = {
      {0, {800, 600, 0, 22}, 0},
      {0, {1280, 1024, 0, 22}, 2},
      {1, {1024, 768, 85, 22}, 1},  // refresh rate ignored
      {0, {1024, 768, 0, 21}, 0},   // format differs
      {0, {1024, 769, 0, 22}, 0},
      {2, {1024, 768, 0, 22}, 0},  // past the records in use
      {9, {1024, 768, 0, 22}, 0},
      {10, {1024, 768, 0, 22}, 0},  // past the record capacity
      {0xFFFFFFFFu, {1024, 768, 0, 22}, 0},
  };
  for (const Row& row : rows)
    EXPECT_EQ(inventory_.FindModeIndex(row.adapter, row.mode), row.expected)
        << row.adapter << ": " << row.mode.width << "x" << row.mode.height << " f"
        << row.mode.format;

  // An empty inventory finds nothing anywhere.
  direct3d9_.unavailable = true;
  EXPECT_EQ(inventory_.EnumerateDisplayAdapters(*settings_, accept_), kEFail);
  EXPECT_EQ(inventory_.AdapterCount(), 0u);
  EXPECT_EQ(inventory_.FindModeIndex(0, {1024, 768, 0, 22}), 0u);
}

// The saved monitor and mode preselect each device's current mode; a
// position found in another adapter's list never passes this one's end.
TEST_F(DisplayInventoryTest, SavedModePreselectsTheCurrentMode) {
  struct Row {
    const char* name;
    std::int32_t curMonitor;
    std::uint32_t width, height;
    bool shortSecond;             // monitor 1 lists 800x600 only
    std::uint32_t first, second;  // current modes of records 0 and 1
  };
  const Row rows[] = {
      {"nothing saved", -100, 0, 0, false, 0, 0},
      {"monitor 0's 1024x768, for every device", 0, 1024, 768, false, 1, 1},
      {"monitor 1's own 1280x1024", 1, 1280, 1024, false, 0, 2},
      {"monitor 0's position past monitor 1's list", 0, 1280, 1024, true, 2, 0},
      {"a monitor past the records", 5, 1024, 768, false, 0, 0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Reset();
    if (row.curMonitor != -100) {
      (*settings_)[u"CurMonitor"] = row.curMonitor;
      (*settings_)[u"ModeWidth"] = static_cast<std::int32_t>(row.width);
      (*settings_)[u"ModeHeight"] = static_cast<std::int32_t>(row.height);
      (*settings_)[u"ModeFormat"] = kD3dFmtX8R8G8B8;
    }
    std::vector<FakeD3dAdapter> adapters = stagings::TwoAdapters();
    adapters[0].modes = {{800, 600, 60, 22}, {1024, 768, 60, 22}, {1280, 1024, 60, 22}};
    adapters[1].modes = {{800, 600, 60, 22}, {1024, 600, 60, 22}, {1280, 1024, 60, 22}};
    if (row.shortSecond) adapters[1].modes = {{800, 600, 60, 22}};
    ASSERT_EQ(Enumerate(adapters), kSOk);
    EXPECT_EQ(inventory_.FirstDevice(0)->currentMode, row.first);
    EXPECT_EQ(inventory_.FirstDevice(1)->currentMode, row.second);
  }
}

struct MonitorCase {
  const char* name;
  std::vector<std::pair<std::u16string, std::uint32_t>> attached;  // DeviceString, StateFlags
  std::u16string displayName;
};

TEST_F(DisplayInventoryTest, MonitorEntryNamesTheFirstActiveAttachedMonitor) {
  const std::vector<MonitorCase> cases = {
      {"active", {{u"Flat Panel", 3}}, u"Flat Panel"},
      {"attached, not active", {{u"Flat Panel", 2}}, u"\\\\.\\DISPLAY1"},
      {"none attached", {}, u"\\\\.\\DISPLAY1"},
      {"second active", {{u"Old CRT", 2}, {u"Flat Panel", 1}, {u"Third", 3}}, u"Flat Panel"},
  };
  for (const MonitorCase& c : cases) {
    SCOPED_TRACE(c.name);
    Reset();
    direct3d9_.adapters = stagings::WineLike();
    monitors_ = fakes::FakeMonitors();
    monitors_.Add(stagings::MonitorOfAdapter(0), ScreenRect{-1024, 10, 0, 778}, u"\\\\.\\DISPLAY1",
                  u"", 0);
    monitors_.attached[u"\\\\.\\DISPLAY1"].clear();
    for (const auto& [name, flags] : c.attached) {
      DisplayDevice device;
      device.deviceName = u"\\\\.\\DISPLAY1\\Monitor0";
      device.deviceString = name;
      device.stateFlags = flags;
      monitors_.attached[u"\\\\.\\DISPLAY1"].push_back(device);
    }
    ASSERT_EQ(inventory_.EnumerateDisplayAdapters(*settings_, accept_), kSOk);
    const MonitorRecord* entry = inventory_.Monitor(0);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->displayName, c.displayName);
    EXPECT_EQ(entry->description, u"Fake Graphics 1");
    EXPECT_EQ(entry->monitor, stagings::MonitorOfAdapter(0));
    EXPECT_EQ(entry->desktopRect, (ScreenRect{-1024, 10, 0, 778}));
    EXPECT_EQ(entry->adapterLink, -1);
  }
}

TEST_F(DisplayInventoryTest, MonitorWithoutInformationKeepsAnEmptyName) {
  direct3d9_.adapters = stagings::WineLike();
  direct3d9_.adapters[0].identifier.description = "Grafikkarte \xC3\x84\xE2\x82\xAC";  // Ä€
  ASSERT_EQ(inventory_.EnumerateDisplayAdapters(*settings_, accept_), kSOk);
  const MonitorRecord* entry = inventory_.Monitor(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->displayName, u"");
  EXPECT_EQ(entry->desktopRect, ScreenRect{});
  EXPECT_EQ(entry->description, u"Grafikkarte \u00C4\u20AC");
  EXPECT_EQ(monitors_.enumCalls, 0);
}

TEST_F(DisplayInventoryTest, TextsAreCutToTheirFieldAtAWholeCharacter) {
  const std::u16string emoji = u"\U0001F600";
  struct Row {
    std::u16string text;
    std::size_t capacity;
    std::u16string expected;
  };
  const std::u16string a126(126, u'a');
  const Row rows[] = {
      {std::u16string(127, u'a'), 128, std::u16string(127, u'a')},
      {std::u16string(200, u'a'), 128, std::u16string(127, u'a')},
      {a126 + emoji + u"b", 128, a126},  // the pair would straddle the end
      {a126.substr(1) + emoji + u"b", 128, a126.substr(1) + emoji},
      {u"short", 128, u"short"},
      {u"abc", 1, u""},
      {u"abc", 0, u""},
      {emoji, 2, u""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(CutToCapacity(row.text, row.capacity), row.expected)
        << ToUtf8(row.text) << " in " << row.capacity;

  // In the records: a Description and a monitor name past 127 units.
  std::vector<FakeD3dAdapter> adapters = stagings::WineLike();
  adapters[0].identifier.description = std::string(300, 'x');
  direct3d9_.adapters = adapters;
  monitors_.Add(adapters[0].monitor, ScreenRect{0, 0, 1024, 768}, u"\\\\.\\DISPLAY1",
                a126 + emoji + u"tail", kDisplayDeviceActive);
  ASSERT_EQ(inventory_.EnumerateDisplayAdapters(*settings_, accept_), kSOk);
  EXPECT_EQ(inventory_.Monitor(0)->description, std::u16string(127, u'x'));
  EXPECT_EQ(inventory_.Monitor(0)->displayName, a126);
}

TEST_F(DisplayInventoryTest, MoreModesThanTheListHoldsKeepsTheLargest) {
  for (std::uint32_t count : {100u, 101u, 130u}) {
    SCOPED_TRACE(count);
    Reset();
    ASSERT_EQ(Enumerate(stagings::ManyModes(count)), kSOk);
    const DeviceRecord* device = inventory_.FirstDevice(0);
    ASSERT_EQ(device->modeCount, 100u);
    // Widths 640 + 8i: the kept ones are the last hundred, still in order.
    EXPECT_EQ(device->modes[0].width, 640 + 8 * (count - 100));
    EXPECT_EQ(device->modes[99].width, 640 + 8 * (count - 1));
    for (std::uint32_t j = 1; j < device->modeCount; ++j)
      EXPECT_LT(device->modes[j - 1].width, device->modes[j].width);
    // The desktop, the largest mode, is still found.
    EXPECT_EQ(inventory_.FindModeIndex(0, inventory_.Adapter(0)->desktopMode), 99u);
  }
}

TEST_F(DisplayInventoryTest, OnlyNineAdaptersAreRecorded) {
  ASSERT_EQ(Enumerate(stagings::TenAdapters()), kSOk);
  EXPECT_EQ(inventory_.AdapterCount(), 9u);
  EXPECT_EQ(inventory_.MonitorCount(), 9u);
  EXPECT_EQ(inventory_.Monitor(8)->displayName, u"Monitor 9");
  EXPECT_EQ(inventory_.Monitor(9), nullptr);
  EXPECT_EQ(inventory_.Adapter(9), nullptr);
  EXPECT_TRUE(direct3d9_.CallsStartingWith("GetAdapterIdentifier(9,").empty());

  // The nine are the usable ones: an unusable adapter frees its place.
  Reset();
  std::vector<FakeD3dAdapter> adapters = stagings::TenAdapters();
  adapters[2].modes = {{320, 200, 60, kD3dFmtX8R8G8B8}};
  ASSERT_EQ(Enumerate(adapters), kSOk);
  EXPECT_EQ(inventory_.MonitorCount(), 9u);
  EXPECT_EQ(inventory_.Monitor(8)->displayName, u"Monitor 10");
}

TEST_F(DisplayInventoryTest, NoDirect3DLeavesAnEmptyInventory) {
  ASSERT_EQ(Enumerate(stagings::TwoAdapters()), kSOk);
  direct3d9_.unavailable = true;
  EXPECT_EQ(inventory_.EnumerateDisplayAdapters(*settings_, accept_), kEFail);
  EXPECT_EQ(inventory_.AdapterCount(), 0u);
  EXPECT_EQ(inventory_.MonitorCount(), 0u);
  EXPECT_EQ(inventory_.FirstDevice(0), nullptr);

  // No adapter at all: a failure, and the Direct3D object released all the same.
  direct3d9_.unavailable = false;
  direct3d9_.adapters.clear();
  EXPECT_EQ(inventory_.EnumerateDisplayAdapters(*settings_, accept_), kEFail);
  EXPECT_EQ(direct3d9_.live, 0);
}

TEST_F(DisplayInventoryTest, AdapterQueryRefreshesTheFirstCapsAndIdentifier) {
  ASSERT_EQ(Enumerate(stagings::DualHead()), kSOk);
  direct3d9_.adapters[0].caps.numberOfAdaptersInGroup = 1;
  direct3d9_.adapters[0].identifier.description = "Renamed";
  const int created = direct3d9_.created;
  inventory_.QueryFirstAdapter();
  EXPECT_EQ(direct3d9_.created, created + 1);
  EXPECT_EQ(direct3d9_.live, 0);
  EXPECT_EQ(inventory_.FirstAdapterCaps().numberOfAdaptersInGroup, 1u);
  EXPECT_EQ(inventory_.Adapter(0)->identifier.description, "Renamed");
  // The monitor entry keeps the Description it was made with.
  EXPECT_EQ(inventory_.Monitor(0)->description, u"Fake Graphics DualHead");

  direct3d9_.unavailable = true;
  direct3d9_.adapters[0].caps.numberOfAdaptersInGroup = 2;
  inventory_.QueryFirstAdapter();
  EXPECT_EQ(inventory_.FirstAdapterCaps().numberOfAdaptersInGroup, 1u);
}

}  // namespace
}  // namespace glimmer
