#include "contract/direct3d11_contract.h"

namespace glimmer::contract {

std::unique_ptr<Direct3D11Device> Direct3D11Contract::Device() {
  std::unique_ptr<Direct3D11Device> device;
  std::uint32_t level = 0;
  if (GetParam().hasDevice) {
    EXPECT_GE(port_->D3D11CreateDevice(kD3dDriverTypeHardware, 0, kD3d11SdkVersion, device, level),
              0);
  }
  return device;
}

namespace {

constexpr HResult kEInvalidArg = static_cast<HResult>(0x80070057u);

TEST_P(Direct3D11Contract, HardwareDeviceIsMadeOrRefusedCleanly) {
  std::unique_ptr<Direct3D11Device> device;
  std::uint32_t level = 0x7777;
  const HResult result =
      port_->D3D11CreateDevice(kD3dDriverTypeHardware, 0, kD3d11SdkVersion, device, level);
  if (GetParam().hasDevice) {
    EXPECT_GE(result, 0);
    ASSERT_NE(device, nullptr);
    EXPECT_GE(level, 0x9100u) << "feature level";  // D3D_FEATURE_LEVEL_9_1 at least
  } else {
    EXPECT_LT(result, 0);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(level, 0x7777u);
  }
}

// Counts from 2 to 32 answer S_OK with levels above 0 exactly for the
// supported ones; 1 always has one level; 0 and past 32 are failures.
TEST_P(Direct3D11Contract, SampleCountsForTheRenderTargetFormat) {
  std::unique_ptr<Direct3D11Device> device = Device();
  if (!device) GTEST_SKIP() << "no hardware device here";
  std::uint32_t levels = 7;
  EXPECT_EQ(device->CheckMultisampleQualityLevels(kDxgiFormatR8G8B8A8Unorm, 1, levels), kSOk);
  EXPECT_EQ(levels, 1u);
  for (std::uint32_t count = 2; count <= kD3d11MaxMultisampleSampleCount; ++count) {
    levels = 7;
    EXPECT_EQ(device->CheckMultisampleQualityLevels(kDxgiFormatR8G8B8A8Unorm, count, levels), kSOk)
        << count;
    EXPECT_EQ(levels > 0, GetParam().sampleCounts.count(count) == 1)
        << count << " samples: " << levels << " levels";
  }
  for (std::uint32_t count : {0u, 33u, 64u}) {
    levels = 7;
    EXPECT_EQ(device->CheckMultisampleQualityLevels(kDxgiFormatR8G8B8A8Unorm, count, levels),
              kEFail)
        << count;
    EXPECT_EQ(levels, 0u) << count;
  }
}

TEST_P(Direct3D11Contract, UnknownFormatHasNoMultisampling) {
  std::unique_ptr<Direct3D11Device> device = Device();
  if (!device) GTEST_SKIP() << "no hardware device here";
  std::uint32_t levels = 7;
  EXPECT_EQ(device->CheckMultisampleQualityLevels(kDxgiFormatUnknown, 1, levels), kSOk);
  EXPECT_EQ(levels, 1u);
  for (std::uint32_t count : {2u, 4u}) {
    levels = 7;
    EXPECT_EQ(device->CheckMultisampleQualityLevels(kDxgiFormatUnknown, count, levels),
              kEInvalidArg);
    EXPECT_EQ(levels, 0u);
  }
}

}  // namespace
}  // namespace glimmer::contract
