// Video memory detection and the quality defaults, against staged hardware:
// two adapters, WMI controllers, DirectDraw devices and User32 display devices.
#include "display/video_memory.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "config/value_text.h"
#include "fakes/fake_direct3d9.h"
#include "fakes/fake_directdraw.h"
#include "fakes/fake_display_devices.h"
#include "fakes/fake_registry.h"
#include "fakes/fake_system.h"
#include "fakes/fake_wmi.h"
#include "platform/directdraw_port.h"
#include "platform/display_device_port.h"
#include "platform/product.h"
#include "platform/wmi_port.h"

namespace glimmer {
namespace {

constexpr std::uint32_t kMiB = 1u << 20;
constexpr MonitorHandle kMonitor1 = 0x10001;
constexpr MonitorHandle kMonitor2 = 0x10002;
constexpr char kId1[] = "PCI\\VEN_10DE&DEV_1B80&SUBSYS_85AA1043&REV_A1";
constexpr char16_t kId1Wide[] = u"PCI\\VEN_10DE&DEV_1B80&SUBSYS_85AA1043&REV_A1";
constexpr char kId2[] = "PCI\\VEN_1002&DEV_687F&SUBSYS_0B361002&REV_C1";
constexpr char16_t kId2Wide[] = u"PCI\\VEN_1002&DEV_687F&SUBSYS_0B361002&REV_C1";
constexpr HResult kRpcEChangedMode = static_cast<HResult>(0x80010106u);

// A machine with two adapters, each with one monitor: adapter 0 shows on
// \\.\DISPLAY1 (2048 MiB), adapter 1 on \\.\DISPLAY2 (512 MiB). WMI lists the
// second card first, so a match by position would pick the wrong one.
class VideoMemoryTest : public testing::Test {
 protected:
  VideoMemoryTest() {
    system_.wow64 = true;
    direct3d_.adapters = {fakes::FakeD3dAdapter::Standard("First", 1920, 1080, kMonitor1),
                          fakes::FakeD3dAdapter::Standard("Second", 1280, 1024, kMonitor2)};
    wmi_.controllers = {fakes::FakeVideoController::With(
                            std::u16string(kId2Wide) + u"\\4&2A5F6B3C&0&0019", 512 * kMiB),
                        fakes::FakeVideoController::With(
                            std::u16string(kId1Wide) + u"\\4&1D7E22A&0&0008", 2048 * kMiB)};
    directDraw_.devices.push_back(fakes::FakeDirectDraw::MonitorDevice(2, kMonitor2));
    directDraw_.totalVideoMemory = 96 * kMiB;
    using fakes::FakeDisplayDevices;
    displays_.devices = {
        FakeDisplayDevices::Device(
            "\\\\.\\DISPLAY1", kDisplayDeviceAttachedToDesktop | kDisplayDevicePrimaryDevice, kId1),
        FakeDisplayDevices::Device("\\\\.\\DISPLAY2", kDisplayDeviceAttachedToDesktop, kId2),
        FakeDisplayDevices::Device("\\\\.\\DISPLAYV1", kDisplayDeviceMirroringDriver, "")};
    displays_.metrics[kSmCyFullScreen] = 1001;
  }

  void SaveCurMonitor(std::u16string_view text,
                      fakes::FakeRegistry::View view = fakes::FakeRegistry::View::Native) {
    registry_.PutString(kHkeyLocalMachine, kSettingsKey, keys::kCurMonitor, text, view);
  }
  // The time-stamp counter advances mhz cycles per microsecond over the 50 ms
  // wait, on top of the 300,000 that the wait's calls cost and the reference
  // measures.
  void CpuAt(std::int64_t mhz) {
    system_.tscReadings = {0, static_cast<std::uint64_t>(mhz * 50000 + 300'000), 0, 300'000};
  }
  HardwarePorts Hardware() {
    return {.direct3d9 = direct3d_,
            .wmi = wmi_,
            .directDraw = directDraw_,
            .displayDevices = displays_,
            .registry = registry_,
            .system = system_};
  }
  // Nothing of the detection may outlive it.
  void ExpectEverythingReleased() {
    EXPECT_EQ(direct3d_.live, 0);
    EXPECT_EQ(wmi_.liveObjects, 0);
    EXPECT_EQ(wmi_.ole32Loaded, 0);
    EXPECT_EQ(wmi_.comOpenCount, 0);
    EXPECT_EQ(directDraw_.loads, directDraw_.frees);
    EXPECT_EQ(directDraw_.objectsCreated, directDraw_.objectsReleased);
    EXPECT_EQ(directDraw_.releasedWhileLoaded, directDraw_.objectsReleased);
  }

  fakes::FakeRegistry registry_{true};
  fakes::FakeSystem system_;
  fakes::FakeDirect3D9Port direct3d_;
  fakes::FakeWmi wmi_;
  fakes::FakeDirectDraw directDraw_;
  fakes::FakeDisplayDevices displays_;
};

TEST(MonitorIndexFromValueText, ReadsTheNumberAfterTypeAndColonLikeWcstol) {
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  const struct {
    std::u16string_view text;
    std::int32_t expected;
  } kCases[] = {
      {u"2: 1", 1},
      {u"2: 0", 0},
      {u"3: 4", 4},  // the type digit is not checked
      {u"", 0},
      {u"7", 0},
      {u"2:", 0},
      {u"21", 0},
      {u"2:5", 5},
      {u"2: \t\r\n 7", 7},
      {u"2: 12abc", 12},
      {u"2: 2.9", 2},
      {u"2: +4", 4},
      {u"2: -1", -1},
      {u"2: x5", 0},
      {u"2: - 5", 0},
      {u"2: 2147483647", kMax},
      {u"2: 2147483648", kMax},
      {u"2: 99999999999999999999", kMax},
      {u"2: -2147483648", kMin},
      {u"2: -99999999999999999999", kMin},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(MonitorIndexFromValueText(c.text), c.expected)
        << std::string(c.text.begin(), c.text.end());
  }
}

TEST(MonitorIndexFromValueText, NeverReadsPastTheEndOfTheText) {
  // Views into longer buffers: a digit just past the end must not count.
  const std::u16string buffer = u"2: 19";
  EXPECT_EQ(MonitorIndexFromValueText(std::u16string_view(buffer).substr(0, 1)), 0);
  EXPECT_EQ(MonitorIndexFromValueText(std::u16string_view(buffer).substr(0, 2)), 0);
  EXPECT_EQ(MonitorIndexFromValueText(std::u16string_view(buffer).substr(0, 4)), 1);
  const std::u16string noBlank = u"2:5";
  EXPECT_EQ(MonitorIndexFromValueText(std::u16string_view(noBlank).substr(0, 2)), 0);
}

TEST(QualityDefaultsFor, BoundsAreStrictExceptTheAntialiasingMemory) {
  const struct {
    std::uint32_t mb;
    std::int32_t mhz;
    std::int32_t height;
    QualityDefaults expected;  // textures, graphics, antialiasing
  } kCases[] = {
      {512, 2001, 1001, {1, 1, 0}},
      {400, 2001, 1001, {0, 0, 0}},
      {401, 2001, 1001, {1, 1, 0}},
      {401, 2000, 1001, {1, 0, 0}},
      {401, 2001, 1000, {0, 1, 0}},
      {2500, 3001, 1000, {0, 1, 1}},
      {2500, 3000, 1001, {1, 1, 0}},
      {2499, 3001, 1001, {1, 1, 0}},
      {4095, 4500, 2160, {1, 1, 1}},
      {0, 0, 0, {0, 0, 0}},
      {0, 9999, 9999, {0, 0, 0}},
      // Unsigned comparisons: a faulted clock or metric reads as huge.
      {512, -1, 1001, {1, 1, 0}},
      {2500, -5, -1, {1, 1, 1}},
  };
  for (const auto& c : kCases) {
    const QualityDefaults got = QualityDefaultsFor(c.mb, c.mhz, c.height);
    EXPECT_EQ(got, c.expected) << c.mb << " MiB, " << c.mhz << " MHz, " << c.height
                               << " px: " << got.highQualityTextures << got.highQualityGraphics
                               << got.antialiasing;
  }
}

TEST_F(VideoMemoryTest, SavedMonitorPicksTheAdapterWhoseControllerIsMeasured) {
  using View = fakes::FakeRegistry::View;
  const struct {
    const char* name;
    std::optional<std::u16string> saved;
    View view;
    std::size_t adapters;
    std::uint32_t expected;
  } kCases[] = {
      {"monitor 1 of two", u"2: 1", View::Native, 2, 512 * kMiB},
      {"monitor 1 of one", u"2: 1", View::Native, 1, 2048 * kMiB},
      {"no saved value", std::nullopt, View::Native, 2, 2048 * kMiB},
      {"beyond the adapters", u"2: 2", View::Native, 2, 2048 * kMiB},
      {"negative", u"2: -1", View::Native, 2, 2048 * kMiB},
      {"too short", u"1", View::Native, 2, 2048 * kMiB},
      {"only in the 32-bit view", u"2: 1", View::Redirected32, 2, 2048 * kMiB},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    registry_.DeleteTree(kHkeyLocalMachine, kSettingsKey, kKeyWow64_64Key);
    registry_.DeleteTree(kHkeyLocalMachine, kSettingsKey, kKeyWow64_32Key);
    if (c.saved) SaveCurMonitor(*c.saved, c.view);
    direct3d_.adapters.resize(c.adapters);
    EXPECT_EQ(DetectVideoMemory(Hardware()), c.expected);
    ExpectEverythingReleased();
  }
}

TEST_F(VideoMemoryTest, SavedValueOfAnotherTypeCountsAsAbsent) {
  registry_.Put(kHkeyLocalMachine, kSettingsKey, keys::kCurMonitor, kRegDword, {1, 0, 0, 0});
  EXPECT_EQ(DetectVideoMemory(Hardware()), 2048 * kMiB);
}

TEST_F(VideoMemoryTest, WmiTakesTheFirstControllerContainingTheDeviceIdCaseSensitively) {
  using fakes::FakeVideoController;
  const std::u16string id = kId1Wide;
  FakeVideoController nullId = FakeVideoController::With(u"", 64 * kMiB);
  nullId.properties[u"PNPDeviceID"] = fakes::NullValue();
  FakeVideoController nullRam = FakeVideoController::With(id + u"\\4&1", 0);
  nullRam.properties[u"AdapterRAM"] = fakes::NullValue();
  FakeVideoController noRam = FakeVideoController::With(id + u"\\4&1", 0);
  noRam.properties.erase(u"AdapterRAM");
  std::vector<FakeVideoController> beyondTheBatch(10, FakeVideoController::With(u"ROOT\\X", 1));
  beyondTheBatch.push_back(FakeVideoController::With(id, 128 * kMiB));

  const struct {
    const char* name;
    std::vector<FakeVideoController> controllers;
    HResult result;
    std::uint32_t bytes;
    std::size_t examined;  // controllers whose PNPDeviceID was read
  } kCases[] = {
      {"instance suffix",
       {FakeVideoController::With(id + u"\\4&1D7E22A&0&0008", 2048 * kMiB)},
       kSOk,
       2048 * kMiB,
       1},
      {"exactly the id", {FakeVideoController::With(id, 300 * kMiB)}, kSOk, 300 * kMiB, 1},
      {"id inside a longer text",
       {FakeVideoController::With(u"X" + id + u"Y", 7 * kMiB)},
       kSOk,
       7 * kMiB,
       1},
      {"letter case differs",
       {FakeVideoController::With(u"pci\\ven_10de&dev_1b80&subsys_85aa1043&rev_a1\\4&1", kMiB)},
       kEFail,
       0,
       1},
      {"first match wins",
       {FakeVideoController::With(u"ROOT\\BasicDisplay", kMiB),
        FakeVideoController::With(id + u"\\4&1", 2048 * kMiB),
        FakeVideoController::With(id + u"\\4&2", 1024 * kMiB)},
       kSOk,
       2048 * kMiB,
       2},
      {"null id is no match",
       {nullId, FakeVideoController::With(id, 32 * kMiB)},
       kSOk,
       32 * kMiB,
       2},
      {"null memory ends the search",
       {nullRam, FakeVideoController::With(id, 32 * kMiB)},
       kEFail,
       0,
       1},
      {"missing memory ends the search",
       {noRam, FakeVideoController::With(id, 32 * kMiB)},
       kEFail,
       0,
       1},
      {"above 2 GiB as VT_I4", {FakeVideoController::With(id, 0xC0000000u)}, kSOk, 0xC0000000u, 1},
      {"only one batch of ten", beyondTheBatch, kEFail, 0, 10},
      {"no controllers", {}, kEFail, 0, 0},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    wmi_.controllers = c.controllers;
    wmi_.calls.clear();
    std::uint32_t bytes = 0xDEADBEEFu;
    EXPECT_EQ(VideoMemoryFromWmi(wmi_, directDraw_, displays_, kMonitor1, bytes), c.result);
    EXPECT_EQ(bytes, c.bytes);
    std::size_t idReads = 0;
    std::size_t memoryReads = 0;
    for (const std::string& call : wmi_.CallsStartingWith("Get ")) {
      if (call.find("PNPDeviceID") != std::string::npos) ++idReads;
      if (call.find("AdapterRAM") != std::string::npos) ++memoryReads;
    }
    EXPECT_EQ(idReads, c.examined);
    EXPECT_LE(memoryReads, 1u);
    ExpectEverythingReleased();
  }
}

TEST_F(VideoMemoryTest, WmiCallsComeInOrderAndEachObjectIsReleasedBeforeComCloses) {
  std::uint32_t bytes = 0;
  ASSERT_EQ(VideoMemoryFromWmi(wmi_, directDraw_, displays_, kMonitor1, bytes), kSOk);
  EXPECT_EQ(bytes, 2048 * kMiB);
  const std::vector<std::string> expected = {
      "CoInitialize",
      "CreateWbemLocator",
      "ConnectServer \\\\.\\root\\cimv2",
      "LoadCoSetProxyBlanket",
      "CoSetProxyBlanket 10,0,3,3,0",
      "FreeOle32",
      "CreateInstanceEnum Win32_VideoController 48",  // returning at once, forward only
      "Reset",  // refused by a forward-only enumerator, and the query goes on
      "Next 5000 10",
      "Get 0 PNPDeviceID",
      "Release object 0",  // no match: released before the next is tried
      "Get 1 PNPDeviceID",
      "Get 1 AdapterRAM",
      "Release object 1",
      "Release enumerator",
      "Release services",
      "Release locator",
      "CoUninitialize",
  };
  EXPECT_EQ(wmi_.calls, expected);
}

// Whatever WMI does, the dialog's thread waits for it at most one batch of
// 5000 ms, and without an answer the DirectDraw total decides.
TEST_F(VideoMemoryTest, EveryWmiFailureGivesZeroAndLeavesNothingOpen) {
  const struct {
    const char* name;
    void (*stage)(fakes::FakeWmi&);
    std::uint32_t bytes;
    bool uninitialised;
  } kCases[] = {
      {"no locator", [](fakes::FakeWmi& w) { w.createLocatorResult = kRegDbEClassNotReg; }, 0,
       true},
      {"connection refused",
       [](fakes::FakeWmi& w) { w.connectResult = static_cast<HResult>(0x80070005u); }, 0, true},
      {"no instance enumerator",
       [](fakes::FakeWmi& w) { w.createEnumResult = static_cast<HResult>(0x80041001u); }, 0, true},
      {"batch times out with nothing", [](fakes::FakeWmi& w) { w.gatheringMs = 60000; }, 0, true},
      {"slow, but within the bound", [](fakes::FakeWmi& w) { w.gatheringMs = 4000; }, 2048 * kMiB,
       true},
      {"id unreadable", [](fakes::FakeWmi& w) { w.failingGets[u"PNPDeviceID"] = kEFail; }, 0, true},
      // Neither blanket failure stops the query.
      {"no proxy blanket entry", [](fakes::FakeWmi& w) { w.proxyBlanketAvailable = false; },
       2048 * kMiB, true},
      {"proxy blanket refused",
       [](fakes::FakeWmi& w) { w.proxyBlanketResult = static_cast<HResult>(0x80070005u); },
       2048 * kMiB, true},
      // COM already open in another mode: usable, but not ours to close.
      {"apartment of another mode",
       [](fakes::FakeWmi& w) {
         w.coInitializeResult = kRpcEChangedMode;
         w.comOpenedElsewhere = true;
       },
       2048 * kMiB, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    fakes::FakeWmi wmi;
    wmi.controllers = wmi_.controllers;
    c.stage(wmi);
    std::uint32_t bytes = 0xDEADBEEFu;
    const HResult result = VideoMemoryFromWmi(wmi, directDraw_, displays_, kMonitor1, bytes);
    EXPECT_EQ(bytes, c.bytes);
    EXPECT_EQ(result, c.bytes != 0 ? kSOk : kEFail);
    EXPECT_EQ(wmi.liveObjects, 0);
    EXPECT_EQ(wmi.ole32Loaded, 0);
    EXPECT_EQ(wmi.CallsStartingWith("CoUninitialize").size(), c.uninitialised ? 1u : 0u);
    if (c.uninitialised) {
      EXPECT_EQ(wmi.calls.back(), "CoUninitialize");
    }
    EXPECT_LE(wmi.waitedMs, kWmiFetchTimeoutMs);

    fakes::FakeWmi again;
    again.controllers = wmi_.controllers;
    c.stage(again);
    EXPECT_EQ(DetectVideoMemory({.direct3d9 = direct3d_,
                                 .wmi = again,
                                 .directDraw = directDraw_,
                                 .displayDevices = displays_,
                                 .registry = registry_,
                                 .system = system_}),
              c.bytes != 0 ? c.bytes : 96 * kMiB);
    EXPECT_LE(again.waitedMs, kWmiFetchTimeoutMs);
  }
}

TEST_F(VideoMemoryTest, WithoutADeviceIdNoControllerMatchesButTheQueryStillRuns) {
  const struct {
    const char* name;
    void (*stage)(fakes::FakeDirectDraw&, fakes::FakeDisplayDevices&);
  } kCases[] = {
      {"ddraw.dll missing", [](auto& dd, auto&) { dd.libraryLoads = false; }},
      {"no enumeration entry", [](auto& dd, auto&) { dd.hasEnumerate = false; }},
      {"monitor not listed by DirectDraw", [](auto& dd, auto&) { dd.devices.resize(1); }},
      {"display device detached",
       [](auto&, auto& displays) { displays.devices[0].stateFlags = 0; }},
      {"display device is a mirror",
       [](auto&, auto& displays) {
         displays.devices[0].stateFlags |= kDisplayDeviceMirroringDriver;
       }},
      {"display device named otherwise",
       [](auto&, auto& displays) { displays.devices[0].deviceName = "\\\\.\\DISPLAY9"; }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    fakes::FakeDirectDraw directDraw = directDraw_;
    fakes::FakeDisplayDevices displays = displays_;
    fakes::FakeWmi wmi;
    // A controller whose id is empty would match any id at all.
    wmi.controllers = {fakes::FakeVideoController::With(u"", 64 * kMiB)};
    c.stage(directDraw, displays);
    std::u16string id = u"untouched";
    EXPECT_EQ(DisplayDeviceIdOfMonitor(directDraw, displays, kMonitor1, id), kEFail);
    EXPECT_EQ(id, u"untouched");
    std::uint32_t bytes = 0xDEADBEEFu;
    EXPECT_EQ(VideoMemoryFromWmi(wmi, directDraw, displays, kMonitor1, bytes), kEFail);
    EXPECT_EQ(bytes, 0u);
    EXPECT_EQ(wmi.CallsStartingWith("Next ").size(), 1u);
    EXPECT_EQ(directDraw.loads, directDraw.frees);
  }
}

TEST_F(VideoMemoryTest, DeviceIdComesFromTheAttachedDeviceNamedByDirectDraw) {
  const std::u16string id2 = kId2Wide;
  const struct {
    const char* name;
    void (*stage)(fakes::FakeDirectDraw&, fakes::FakeDisplayDevices&);
    MonitorHandle monitor;
    std::u16string expected;
  } kCases[] = {
      {"first monitor", [](auto&, auto&) {}, kMonitor1, kId1Wide},
      {"second monitor", [](auto&, auto&) {}, kMonitor2, id2},
      {"driver name in another case",
       [](auto& dd, auto&) { dd.devices[2].driverName = "\\\\.\\display2"; }, kMonitor2, id2},
      {"last DirectDraw match wins", [](auto& dd, auto&) { dd.devices[1].monitor = kMonitor2; },
       kMonitor2, id2},
      {"mirror of the same name skipped",
       [](auto&, auto& displays) {
         displays.devices.insert(
             displays.devices.begin(),
             fakes::FakeDisplayDevices::Device(
                 "\\\\.\\DISPLAY2", kDisplayDeviceMirroringDriver | kDisplayDeviceAttachedToDesktop,
                 "ROOT\\MIRROR"));
       },
       kMonitor2, id2},
      {"8-bit id in the system code page",
       [](auto&, auto& displays) { displays.devices[0].deviceId = "PCI\\VEN_\xE9\x80"; }, kMonitor1,
       u"PCI\\VEN_\u00E9\u20AC"},
      {"overlong id cut to the buffer",
       [](auto&, auto& displays) { displays.devices[0].deviceId = std::string(600, 'A'); },
       kMonitor1, std::u16string(511, u'A')},
      {"cut never splits a surrogate pair",
       [](auto&, auto& displays) {
         displays.utf8CodePage = true;
         displays.devices[0].deviceId = std::string(510, 'A') + "\xF0\x9F\x98\x80";
       },
       kMonitor1, std::u16string(510, u'A')},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    fakes::FakeDirectDraw directDraw = directDraw_;
    fakes::FakeDisplayDevices displays = displays_;
    c.stage(directDraw, displays);
    std::u16string id;
    EXPECT_EQ(DisplayDeviceIdOfMonitor(directDraw, displays, c.monitor, id), kSOk);
    EXPECT_EQ(id, c.expected);
    EXPECT_EQ(directDraw.enumerationFlags, std::vector<std::uint32_t>{1u});
    // ddraw.dll goes on the way out of the successful path too.
    EXPECT_EQ(directDraw.loads, 1);
    EXPECT_EQ(directDraw.frees, 1);
  }
}

TEST_F(VideoMemoryTest, WithoutWmiTheDefaultDeviceTotalDecidesWhicheverMonitorIsChosen) {
  SaveCurMonitor(u"2: 1");
  wmi_.createLocatorResult = kRegDbEClassNotReg;
  EXPECT_EQ(DetectVideoMemory(Hardware()), 96 * kMiB);
  ASSERT_EQ(directDraw_.vidMemCaps.size(), 1u);
  EXPECT_EQ(directDraw_.vidMemCaps[0].caps, kDdsCapsVideoMemory);
  EXPECT_EQ(directDraw_.vidMemCaps[0].caps2 | directDraw_.vidMemCaps[0].caps3 |
                directDraw_.vidMemCaps[0].caps4,
            0u);
  EXPECT_EQ(directDraw_.freeAsked, std::vector<bool>{false});
  EXPECT_EQ(direct3d_.CallsStartingWith("GetAdapterMonitor"),
            std::vector<std::string>{"GetAdapterMonitor(1)"});
  ExpectEverythingReleased();
}

TEST_F(VideoMemoryTest, WithoutDirect3DOnlyDirectDrawIsAsked) {
  SaveCurMonitor(u"2: 1");
  direct3d_.unavailable = true;
  EXPECT_EQ(DetectVideoMemory(Hardware()), 96 * kMiB);
  EXPECT_TRUE(wmi_.calls.empty());
  EXPECT_TRUE(registry_.AccessLog().empty());
  ExpectEverythingReleased();
}

TEST_F(VideoMemoryTest, EveryDirectDrawFailureGivesZero) {
  const struct {
    const char* name;
    void (*stage)(fakes::FakeDirectDraw&);
  } kCases[] = {
      {"library missing", [](fakes::FakeDirectDraw& dd) { dd.libraryLoads = false; }},
      {"no creation entry", [](fakes::FakeDirectDraw& dd) { dd.hasCreate = false; }},
      {"creation fails",
       [](fakes::FakeDirectDraw& dd) { dd.createResult = static_cast<HResult>(0x88760091u); }},
      {"query fails",
       [](fakes::FakeDirectDraw& dd) { dd.vidMemResult = static_cast<HResult>(0x80070057u); }},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    fakes::FakeDirectDraw directDraw;
    directDraw.totalVideoMemory = 96 * kMiB;
    c.stage(directDraw);
    direct3d_.unavailable = true;
    EXPECT_EQ(DetectVideoMemory({.direct3d9 = direct3d_,
                                 .wmi = wmi_,
                                 .directDraw = directDraw,
                                 .displayDevices = displays_,
                                 .registry = registry_,
                                 .system = system_}),
              0u);
    EXPECT_EQ(directDraw.loads, directDraw.frees);
    EXPECT_EQ(directDraw.objectsCreated, directDraw.objectsReleased);
    EXPECT_EQ(directDraw.releasedWhileLoaded, directDraw.objectsReleased);
  }
}

// The defaults from the whole measurement, in the order video memory,
// processor clock, screen height.
TEST_F(VideoMemoryTest, MeasuredDefaultsFollowTheStagedMachine) {
  const struct {
    std::uint32_t adapterRam;
    std::int64_t mhz;
    std::int32_t height;
    QualityDefaults expected;
  } kCases[] = {
      {512 * kMiB, 2001, 1001, {1, 1, 0}},     {400 * kMiB, 2001, 1001, {0, 0, 0}},
      {401 * kMiB - 1, 2001, 1001, {0, 0, 0}},  // whole mebibytes only
      {401 * kMiB, 2001, 1001, {1, 1, 0}},     {2500 * kMiB, 3001, 1001, {1, 1, 1}},
      {2500 * kMiB, 3000, 1001, {1, 1, 0}},    {2500 * kMiB, 3001, 1000, {0, 1, 1}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.adapterRam << " bytes, " << c.mhz << " MHz");
    wmi_.controllers = {fakes::FakeVideoController::With(kId1Wide, c.adapterRam)};
    CpuAt(c.mhz);
    displays_.metrics[kSmCyFullScreen] = c.height;
    EXPECT_EQ(MeasureQualityDefaults(Hardware()), c.expected);
    ExpectEverythingReleased();
  }
}

TEST_F(VideoMemoryTest, NoVideoMemoryFoundTurnsEverythingOff) {
  wmi_.createLocatorResult = kRegDbEClassNotReg;
  directDraw_.libraryLoads = false;
  CpuAt(4000);
  displays_.metrics[kSmCyFullScreen] = 2000;
  EXPECT_EQ(MeasureQualityDefaults(Hardware()), (QualityDefaults{0, 0, 0}));
}

TEST_F(VideoMemoryTest, MeasuresMemoryThenClockThenHeight) {
  std::vector<std::string> order;
  struct LoggingSystem : fakes::FakeSystem {
    std::vector<std::string>* order = nullptr;
    bool ReadTimeStampCounter(std::uint64_t& value) override {
      order->push_back("clock");
      return FakeSystem::ReadTimeStampCounter(value);
    }
  } system;
  system.order = &order;
  struct LoggingDisplays : fakes::FakeDisplayDevices {
    std::vector<std::string>* order = nullptr;
    std::int32_t GetSystemMetrics(std::int32_t index) override {
      order->push_back("metrics " + std::to_string(index));
      return FakeDisplayDevices::GetSystemMetrics(index);
    }
  } displays;
  displays.order = &order;
  displays.devices = displays_.devices;
  struct LoggingWmi : fakes::FakeWmi {
    std::vector<std::string>* order = nullptr;
    HResult CoInitialize() override {
      order->push_back("wmi");
      return FakeWmi::CoInitialize();
    }
  } wmi;
  wmi.order = &order;
  MeasureQualityDefaults({.direct3d9 = direct3d_,
                          .wmi = wmi,
                          .directDraw = directDraw_,
                          .displayDevices = displays,
                          .registry = registry_,
                          .system = system});
  const std::vector<std::string> expected = {"wmi",   "clock", "clock",
                                             "clock", "clock", "metrics 17"};
  EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace glimmer
