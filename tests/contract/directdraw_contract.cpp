#include "contract/directdraw_contract.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace glimmer::contract {
namespace {

std::string Hex(HResult result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
  return text;
}

}  // namespace

std::vector<DirectDrawDeviceInfo> DirectDrawContract::Enumerate(std::uint32_t flags) {
  std::vector<DirectDrawDeviceInfo> devices;
  const HResult result = module_->DirectDrawEnumerateExA(
      [&devices](const DirectDrawDeviceInfo& device) {
        devices.push_back(device);
        return true;
      },
      flags);
  EXPECT_EQ(result, kSOk) << Hex(result);
  return devices;
}

TEST_P(DirectDrawContract, BothEntriesAreThereAndNothingElseIsClaimed) {
  EXPECT_TRUE(module_->HasEntry(kDirectDrawEnumerateExA));
  EXPECT_TRUE(module_->HasEntry(kDirectDrawCreateEx));
  EXPECT_FALSE(module_->HasEntry("GlimmerdaleNoSuchEntry"));
}

TEST_P(DirectDrawContract, PrimaryDriverComesFirstAndMonitorsOnlyWhenAsked) {
  const std::vector<DirectDrawDeviceInfo> primaryOnly = Enumerate(0);
  ASSERT_EQ(primaryOnly.size(), 1u);
  EXPECT_FALSE(primaryOnly[0].hasGuid);
  EXPECT_EQ(primaryOnly[0].monitor, 0u);

  const std::vector<DirectDrawDeviceInfo> all = Enumerate(kDdEnumAttachedSecondaryDevices);
  ASSERT_GE(all.size(), 2u);
  EXPECT_FALSE(all[0].hasGuid);
  const auto monitors = std::count_if(all.begin(), all.end(), [](const auto& device) {
    return device.hasGuid && device.monitor != 0;
  });
  EXPECT_EQ(monitors, GetParam().monitors()) << "one device per monitor";
  for (const DirectDrawDeviceInfo& device : all) {
    SCOPED_TRACE(device.driverName);
    EXPECT_LT(device.driverName.size(), 512u);
    if (device.hasGuid) {
      EXPECT_EQ(device.driverName.rfind("\\\\.\\DISPLAY", 0), 0u);
    }
  }
}

TEST_P(DirectDrawContract, CancelFromTheCallbackEndsTheEnumeration) {
  int calls = 0;
  module_->DirectDrawEnumerateExA(
      [&calls](const DirectDrawDeviceInfo&) {
        ++calls;
        return false;
      },
      kDdEnumAttachedSecondaryDevices);
  EXPECT_EQ(calls, 1);
}

TEST_P(DirectDrawContract, DefaultDeviceTellsItsVideoMemoryWithOrWithoutTheFreeAmount) {
  std::unique_ptr<DirectDraw7> object;
  const HResult created = module_->DirectDrawCreateEx(object);
  ASSERT_EQ(created, kSOk) << Hex(created);
  ASSERT_NE(object, nullptr);

  DdsCaps2 caps;
  caps.caps = kDdsCapsVideoMemory;
  std::uint32_t totalOnly = 0xDEADBEEFu;
  HResult result = object->GetAvailableVidMem(caps, &totalOnly, nullptr);
  ASSERT_EQ(result, kSOk) << Hex(result);
  EXPECT_NE(totalOnly, 0xDEADBEEFu);
  EXPECT_GE(totalOnly, 1u << 20);

  std::uint32_t total = 0;
  std::uint32_t free = 0xDEADBEEFu;
  result = object->GetAvailableVidMem(caps, &total, &free);
  ASSERT_EQ(result, kSOk) << Hex(result);
  EXPECT_EQ(total, totalOnly);
  EXPECT_LE(free, total);
}

TEST_P(DirectDrawContract, ObjectReleasedBeforeTheLibraryLeavesAFreshLoadWorking) {
  {
    std::unique_ptr<DirectDraw7> object;
    ASSERT_EQ(module_->DirectDrawCreateEx(object), kSOk);
  }
  module_.reset();
  // Loaded and freed once per query, as the detection does, more than once.
  for (int round = 0; round < 2; ++round) {
    std::unique_ptr<DirectDrawModule> again = port_->LoadDirectDraw();
    ASSERT_NE(again, nullptr);
    std::unique_ptr<DirectDraw7> object;
    EXPECT_EQ(again->DirectDrawCreateEx(object), kSOk);
  }
}

}  // namespace glimmer::contract
