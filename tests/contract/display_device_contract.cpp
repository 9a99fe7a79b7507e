#include "contract/display_device_contract.h"

#include <vector>

namespace glimmer::contract {

TEST_P(DisplayDeviceContract, DevicesAreListedUpToTheFirstFailureAndFitTheirFields) {
  std::vector<DisplayDeviceA> devices;
  DisplayDeviceA device;
  for (std::uint32_t index = 0; index < 64 && port_->EnumDisplayDevicesA(index, device); ++index)
    devices.push_back(device);
  ASSERT_GE(devices.size(), 1u);
  ASSERT_LT(devices.size(), 64u);
  const auto end = static_cast<std::uint32_t>(devices.size());
  EXPECT_FALSE(port_->EnumDisplayDevicesA(end + 1, device));
  EXPECT_FALSE(port_->EnumDisplayDevicesA(1000, device));

  int primaries = 0;
  for (const DisplayDeviceA& listed : devices) {
    SCOPED_TRACE(listed.deviceName);
    EXPECT_EQ(listed.deviceName.rfind("\\\\.\\DISPLAY", 0), 0u);
    EXPECT_LT(listed.deviceName.size(), 32u);
    EXPECT_LT(listed.deviceId.size(), 128u);
    if ((listed.stateFlags & kDisplayDevicePrimaryDevice) != 0) {
      ++primaries;
      EXPECT_NE(listed.stateFlags & kDisplayDeviceAttachedToDesktop, 0u);
      EXPECT_EQ(listed.stateFlags & kDisplayDeviceMirroringDriver, 0u);
    }
  }
  EXPECT_EQ(primaries, 1);
}

TEST_P(DisplayDeviceContract, AsciiConvertsUnitForByteAndStopsAtTheFirstNul) {
  const struct {
    std::string bytes;
    std::u16string expected;
  } kCases[] = {
      {"", u""},
      {"PCI\\VEN_10DE&DEV_1B80", u"PCI\\VEN_10DE&DEV_1B80"},
      {std::string("AB\0CD", 5), u"AB"},
      {std::string(127, 'x'), std::u16string(127, u'x')},
  };
  for (const auto& c : kCases) EXPECT_EQ(port_->MultiByteToWideChar(c.bytes), c.expected);
}

TEST_P(DisplayDeviceContract, ScreenHeightsArePositiveAndUnknownMetricsZero) {
  // Windows keeps the full-screen client height below the screen height; Wine
  // 8 answers 779 on a 768-line screen, so only the signs are common ground.
  EXPECT_GT(port_->GetSystemMetrics(kSmCyScreen), 0);
  EXPECT_GT(port_->GetSystemMetrics(kSmCyFullScreen), 0);
  EXPECT_EQ(port_->GetSystemMetrics(-12345), 0);
  EXPECT_EQ(port_->GetSystemMetrics(100000), 0);
}

}  // namespace glimmer::contract
