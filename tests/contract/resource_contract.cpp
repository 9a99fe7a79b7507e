#include "contract/resource_contract.h"

namespace glimmer::contract {
namespace {

TEST_P(ResourceContract, EveryResourceComesBackByteForByte) {
  for (const ContractResource& resource : kContractResources) {
    SCOPED_TRACE(testing::Message() << resource.id << "/" << resource.type);
    const std::uint8_t* data = nullptr;
    std::uint32_t size = 0xFFFF;
    ASSERT_TRUE(Port().FindResourceBytes(resource.id, resource.type, data, size));
    // Even a resource of no bytes has an address.
    ASSERT_NE(nullptr, data);
    ASSERT_EQ(resource.bytes.size(), size);
    EXPECT_EQ(resource.bytes, std::string_view(reinterpret_cast<const char*>(data), size));
  }
}

TEST_P(ResourceContract, TheBytesStayWhereTheyAre) {
  const std::uint8_t* first = nullptr;
  const std::uint8_t* again = nullptr;
  const std::uint8_t* other = nullptr;
  std::uint32_t size = 0;
  ASSERT_TRUE(Port().FindResourceBytes(30001, kRtRcdata, first, size));
  ASSERT_TRUE(Port().FindResourceBytes(30001, kContractResourceType, other, size));
  ASSERT_TRUE(Port().FindResourceBytes(30001, kRtRcdata, again, size));
  EXPECT_EQ(first, again);
  EXPECT_EQ("Glimmerdale", std::string_view(reinterpret_cast<const char*>(first), 11));
}

// A missing identifier, or a known one asked for under another type, finds
// nothing and leaves the outputs as they were.
TEST_P(ResourceContract, OnlyTheIdentifierAndTypeTogetherNameAResource) {
  const struct {
    std::uint16_t id;
    std::uint16_t type;
  } missing[] = {{30004, kRtRcdata}, {30002, kContractResourceType}, {30001, 301}, {1, 299}};
  for (const auto& name : missing) {
    SCOPED_TRACE(testing::Message() << name.id << "/" << name.type);
    const std::uint8_t sentinel = 0;
    const std::uint8_t* data = &sentinel;
    std::uint32_t size = 0x5A5A;
    EXPECT_FALSE(Port().FindResourceBytes(name.id, name.type, data, size));
    EXPECT_EQ(&sentinel, data);
    EXPECT_EQ(0x5A5Au, size);
  }
}

}  // namespace
}  // namespace glimmer::contract
