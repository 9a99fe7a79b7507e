#include "contract/monitor_contract.h"

#include "platform/text.h"

namespace glimmer::contract {
namespace {

TEST_P(MonitorContract, MonitorHasARectangleAndADisplayDevice) {
  MonitorInfo info;
  ASSERT_TRUE(Port().GetMonitorInfo(setup_.monitor, info));
  EXPECT_LT(info.monitorRect.left, info.monitorRect.right);
  EXPECT_LT(info.monitorRect.top, info.monitorRect.bottom);
  // The work area lies inside the monitor.
  EXPECT_GE(info.workRect.left, info.monitorRect.left);
  EXPECT_GE(info.workRect.top, info.monitorRect.top);
  EXPECT_LE(info.workRect.right, info.monitorRect.right);
  EXPECT_LE(info.workRect.bottom, info.monitorRect.bottom);
  EXPECT_EQ(info.device.rfind(u"\\\\.\\", 0), 0u) << ToUtf8(info.device);
  EXPECT_LE(info.device.size(), 31u);  // szDevice holds 32 units with its NUL
}

TEST_P(MonitorContract, UnknownMonitorIsRefusedWithoutTouchingTheAnswer) {
  for (MonitorHandle handle : {MonitorHandle{0}, setup_.monitor + 4}) {
    MonitorInfo info;
    info.device = u"sentinel";
    info.monitorRect.right = 7;
    EXPECT_FALSE(Port().GetMonitorInfo(handle, info)) << handle;
    EXPECT_EQ(info.device, u"sentinel");
    EXPECT_EQ(info.monitorRect.right, 7);
  }
}

// The monitors on the display device: named below it, texts within their
// fields, ended by a refused index; the device name compares without case.
TEST_P(MonitorContract, AttachedMonitorsAreListedBelowTheirDevice) {
  MonitorInfo info;
  ASSERT_TRUE(Port().GetMonitorInfo(setup_.monitor, info));
  std::uint32_t index = 0;
  bool active = false;
  DisplayDevice attached;
  for (; Port().EnumDisplayDevices(info.device, index, attached); ++index) {
    ASSERT_LT(index, 16u) << "the list does not end";
    EXPECT_EQ(attached.deviceName.rfind(info.device + u"\\", 0), 0u) << ToUtf8(attached.deviceName);
    EXPECT_LE(attached.deviceString.size(), 127u);
    EXPECT_LE(attached.deviceName.size(), 31u);
    if (attached.stateFlags & kDisplayDeviceActive) active = true;
  }
  EXPECT_EQ(active, setup_.activeMonitorAttached);

  std::u16string lower = info.device;
  for (char16_t& unit : lower)
    if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
  std::uint32_t again = 0;
  while (Port().EnumDisplayDevices(lower, again, attached)) ++again;
  EXPECT_EQ(again, index);

  DisplayDevice untouched;
  untouched.deviceString = u"sentinel";
  EXPECT_FALSE(Port().EnumDisplayDevices(u"\\\\.\\DISPLAY99", 0, untouched));
  EXPECT_EQ(untouched.deviceString, u"sentinel");
}

}  // namespace
}  // namespace glimmer::contract
