#include "contract/registry_contract.h"

#include <set>

#include "fakes/fake_system.h"
#include "platform/ports.h"
#include "platform/registry.h"
#include "platform/text.h"

namespace glimmer::contract {
namespace {

std::u16string Scratch(std::u16string_view sub = {}) {
  std::u16string path(u"Software\\Vellumark\\GlimmerdaleContract");
  if (!sub.empty()) {
    path += u'\\';
    path += sub;
  }
  return path;
}

std::vector<std::uint8_t> Bytes(std::u16string_view text) { return RegistryBytesFromText(text); }

}  // namespace

void RegistryContract::SetUp() {
  registry_ = GetParam().make();
  registry_->DeleteTree(kHkeyCurrentUser, kScratch, 0);
}

void RegistryContract::TearDown() {
  for (RegKey key : opened_) registry_->CloseKey(key);
  registry_->DeleteTree(kHkeyCurrentUser, kScratch, 0);
}

RegKey RegistryContract::Create(std::u16string_view subKey, std::uint32_t access) {
  RegKey key = 0;
  EXPECT_EQ(kErrorSuccess, registry_->CreateKey(kHkeyCurrentUser, Scratch(subKey), access, key));
  opened_.push_back(key);
  return key;
}

void RegistryContract::SetRaw(RegKey key, std::u16string_view name, std::uint32_t type,
                              const std::vector<std::uint8_t>& data) {
  ASSERT_EQ(kErrorSuccess, registry_->SetValue(key, name, type, data.data(),
                                               static_cast<std::uint32_t>(data.size())));
}

TEST_P(RegistryContract, OpeningAMissingKeyFailsAndCreatingMakesEveryLevel) {
  RegKey key = 0x1234;
  EXPECT_EQ(kErrorFileNotFound,
            registry_->OpenKey(kHkeyCurrentUser, Scratch(u"a\\b\\c"), kKeyRead, key));
  EXPECT_EQ(0x1234u, key) << "a failed open leaves the out-parameter alone";

  Create(u"a\\b\\c");
  for (auto path : {u"a", u"a\\b", u"a\\b\\c"}) {
    RegKey opened = 0;
    ASSERT_EQ(kErrorSuccess, registry_->OpenKey(kHkeyCurrentUser, Scratch(path), kKeyRead, opened))
        << "missing level";
    registry_->CloseKey(opened);
  }
}

TEST_P(RegistryContract, StoresExactlyTheBytesGiven) {
  const RegKey key = Create(u"");
  const std::vector<std::vector<std::uint8_t>> samples = {
      Bytes(u"abc"),                        // no terminator: exactly six bytes
      {},                                   // zero bytes
      {0, 0},                               // a lone NUL
      Bytes(std::u16string(u"ab\0cd", 5)),  // embedded NUL
      {'x', 0, 'y'},                        // odd byte count
  };
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const std::u16string name{u'v', static_cast<char16_t>(u'0' + i)};
    SetRaw(key, name, kRegSz, samples[i]);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    ASSERT_EQ(kErrorSuccess, registry_->QueryValue(key, name, &type, nullptr, &size));
    EXPECT_EQ(kRegSz, type);
    ASSERT_EQ(samples[i].size(), size) << "sample " << i;
    // Guard bytes after a buffer of exactly the data's size.
    std::vector<std::uint8_t> data(size + 4, 0xAB);
    std::uint32_t read = size;
    ASSERT_EQ(kErrorSuccess,
              registry_->QueryValue(key, name, &type, size ? data.data() : nullptr, &read));
    EXPECT_EQ(size, read);
    EXPECT_EQ(samples[i], std::vector<std::uint8_t>(data.begin(), data.begin() + size));
    EXPECT_EQ(0xAB, data[size]) << "written past the data of sample " << i;
  }
}

TEST_P(RegistryContract, ReportsTheNeededSizeWhenTheBufferIsSmall) {
  const RegKey key = Create(u"");
  SetRaw(key, u"v", kRegSz, Bytes(u"longer text"));
  std::uint8_t data[4] = {};
  std::uint32_t size = sizeof(data);
  EXPECT_EQ(kErrorMoreData, registry_->QueryValue(key, u"v", nullptr, data, &size));
  EXPECT_EQ(22u, size);
  EXPECT_EQ(kErrorFileNotFound, registry_->QueryValue(key, u"missing", nullptr, nullptr, &size));
}

TEST_P(RegistryContract, NamesIgnoreCase) {
  const RegKey key = Create(u"Mixed");
  SetRaw(key, u"Value", kRegSz, Bytes(u"1"));
  SetRaw(key, u"VALUE", kRegSz, Bytes(u"22"));
  std::uint32_t count = 0;
  ASSERT_EQ(kErrorSuccess, registry_->QueryInfoKey(key, nullptr, nullptr, &count));
  EXPECT_EQ(1u, count);
  std::uint32_t size = 0;
  ASSERT_EQ(kErrorSuccess, registry_->QueryValue(key, u"value", nullptr, nullptr, &size));
  EXPECT_EQ(4u, size);
  RegKey opened = 0;
  ASSERT_EQ(kErrorSuccess,
            registry_->OpenKey(kHkeyCurrentUser, Scratch(u"MIXED"), kKeyRead, opened));
  registry_->CloseKey(opened);
}

// Values come back each once, in an order the platform chooses (Windows keeps
// creation order, Wine sorts by name); subkeys come sorted by name.
TEST_P(RegistryContract, EnumeratesEveryValueOnceAndSubkeysByName) {
  const RegKey key = Create(u"");
  SetRaw(key, u"zeta", kRegSz, Bytes(u"1"));
  SetRaw(key, u"alpha", kRegDword, {1, 0, 0, 0});
  SetRaw(key, u"Mid", kRegSz, Bytes(u"three"));
  Create(u"beta");
  Create(u"Alpha");
  Create(u"gamma");

  std::uint32_t count = 0;
  char16_t className[200] = {};
  std::uint32_t classCapacity = 200;
  ASSERT_EQ(kErrorSuccess, registry_->QueryInfoKey(key, className, &classCapacity, &count));
  EXPECT_EQ(3u, count);

  std::set<std::u16string> values;
  for (std::uint32_t i = 0; i < 3; ++i) {
    char16_t name[16] = {};
    std::uint32_t nameLength = 16;
    std::uint32_t type = 0;
    std::uint8_t data[32] = {};
    std::uint32_t dataSize = sizeof(data);
    ASSERT_EQ(kErrorSuccess,
              registry_->EnumValue(key, i, name, &nameLength, &type, data, &dataSize));
    values.insert(std::u16string(name, nameLength));
  }
  EXPECT_EQ((std::set<std::u16string>{u"zeta", u"alpha", u"Mid"}), values);
  char16_t name[16] = {};
  std::uint32_t nameLength = 16;
  std::uint8_t data[32] = {};
  std::uint32_t dataSize = sizeof(data);
  EXPECT_EQ(kErrorNoMoreItems,
            registry_->EnumValue(key, 3, name, &nameLength, nullptr, data, &dataSize));

  const std::u16string expectedKeys[] = {u"Alpha", u"beta", u"gamma"};
  for (std::uint32_t i = 0; i < 3; ++i) {
    char16_t subName[16] = {};
    ASSERT_EQ(kErrorSuccess, registry_->EnumKey(key, i, subName, 16));
    EXPECT_EQ(expectedKeys[i], std::u16string(subName));
  }
  char16_t subName[16] = {};
  EXPECT_EQ(kErrorNoMoreItems, registry_->EnumKey(key, 3, subName, 16));
}

TEST_P(RegistryContract, EnumerationRefusesBuffersThatAreTooSmall) {
  const RegKey key = Create(u"");
  SetRaw(key, u"name12345", kRegSz, Bytes(u"0123456789"));
  Create(u"subkey12345");

  char16_t name[5] = {};
  std::uint32_t nameLength = 5;
  std::uint8_t data[64] = {};
  std::uint32_t dataSize = sizeof(data);
  EXPECT_EQ(kErrorMoreData,
            registry_->EnumValue(key, 0, name, &nameLength, nullptr, data, &dataSize));

  char16_t bigName[32] = {};
  nameLength = 32;
  dataSize = 8;
  EXPECT_EQ(kErrorMoreData,
            registry_->EnumValue(key, 0, bigName, &nameLength, nullptr, data, &dataSize));

  EXPECT_EQ(kErrorMoreData, registry_->EnumKey(key, 0, name, 5));
}

TEST_P(RegistryContract, RightsAreCheckedPerHandle) {
  Create(u"ro");
  RegKey readOnly = 0;
  ASSERT_EQ(kErrorSuccess,
            registry_->OpenKey(kHkeyCurrentUser, Scratch(u"ro"), kKeyRead, readOnly));
  opened_.push_back(readOnly);
  const auto data = Bytes(u"x");
  EXPECT_EQ(kErrorAccessDenied, registry_->SetValue(readOnly, u"v", kRegSz, data.data(), 2));

  RegKey writeOnly = 0;
  ASSERT_EQ(kErrorSuccess,
            registry_->CreateKey(kHkeyCurrentUser, Scratch(u"ro"), kKeySetValue, writeOnly));
  opened_.push_back(writeOnly);
  EXPECT_EQ(kErrorSuccess, registry_->SetValue(writeOnly, u"v", kRegSz, data.data(), 2));
  std::uint32_t size = 0;
  EXPECT_EQ(kErrorAccessDenied, registry_->QueryValue(writeOnly, u"v", nullptr, nullptr, &size));
}

// Saving a tree creates subkeys below a key opened only to set values: the
// parent handle's rights do not govern what is created below it.
TEST_P(RegistryContract, SubkeysCanBeCreatedBelowAKeyOpenedToSetValues) {
  const RegKey parent = Create(u"parent", kKeySetValue);
  RegKey child = 0;
  ASSERT_EQ(kErrorSuccess, registry_->CreateKey(parent, u"child\\grandchild", kKeySetValue, child));
  opened_.push_back(child);
  const auto data = Bytes(u"x");
  EXPECT_EQ(kErrorSuccess, registry_->SetValue(child, u"v", kRegSz, data.data(), 2));
  RegKey check = 0;
  ASSERT_EQ(
      kErrorSuccess,
      registry_->OpenKey(kHkeyCurrentUser, Scratch(u"parent\\child\\grandchild"), kKeyRead, check));
  registry_->CloseKey(check);
}

TEST_P(RegistryContract, DeleteTreeRemovesTheKeyAndEverythingBelow) {
  Create(u"gone\\deeper");
  ASSERT_EQ(kErrorSuccess, registry_->DeleteTree(kHkeyCurrentUser, Scratch(u"gone"), 0));
  RegKey key = 0;
  EXPECT_EQ(kErrorFileNotFound,
            registry_->OpenKey(kHkeyCurrentUser, Scratch(u"gone"), kKeyRead, key));
  EXPECT_EQ(kErrorFileNotFound, registry_->DeleteTree(kHkeyCurrentUser, Scratch(u"gone"), 0));
}

TEST_P(RegistryStringContract, ReadsTextUpToTheFirstNulOrTheEndOfTheData) {
  const RegKey key = Create(u"");
  SetRaw(key, u"plain", kRegSz, Bytes(u"abc"));
  SetRaw(key, u"terminated", kRegSz, Bytes(std::u16string(u"abc\0", 4)));
  SetRaw(key, u"embedded", kRegSz, Bytes(std::u16string(u"ab\0cd", 5)));
  SetRaw(key, u"lone nul", kRegSz, {0, 0});
  SetRaw(key, u"odd", kRegSz, {'a', 0, 'b'});

  struct Case {
    std::u16string name;
    std::u16string expected;
  } cases[] = {{u"plain", u"abc"},
               {u"terminated", u"abc"},
               {u"embedded", u"ab"},
               {u"lone nul", u""},
               {u"odd", u"ab"}};
  for (const auto& c : cases) {
    std::u16string out = u"previous";
    EXPECT_EQ(kSOk, Read(c.name, out)) << ToUtf8(c.name);
    EXPECT_EQ(c.expected, out) << ToUtf8(c.name);
  }
}

TEST_P(RegistryStringContract, FailuresLeaveTheOutputAlone) {
  const RegKey key = Create(u"");
  SetRaw(key, u"expand", kRegExpandSz, Bytes(u"%TEMP%"));
  SetRaw(key, u"empty", kRegSz, {});
  SetRaw(key, u"dword", kRegDword, {1, 0, 0, 0});
  for (auto name : {u"expand", u"empty", u"dword", u"missing"}) {
    std::u16string out = u"previous";
    EXPECT_EQ(kEFail, Read(name, out)) << ToUtf8(name);
    EXPECT_EQ(u"previous", out) << ToUtf8(name);
  }
  std::u16string out = u"previous";
  EXPECT_EQ(kEFail, Read(Scratch(u"no\\such"), u"v", out, false));
  EXPECT_EQ(u"previous", out);
}

TEST_P(RegistryStringContract, WritesWithoutTerminatorAndCreatesMissingLevels) {
  ASSERT_EQ(kSOk, Write(Scratch(u"x\\y\\z"), u"abc"));
  RegKey key = 0;
  ASSERT_EQ(kErrorSuccess,
            registry_->OpenKey(kHkeyCurrentUser, Scratch(u"x\\y\\z"), kKeyRead, key));
  opened_.push_back(key);
  std::uint32_t size = 0;
  ASSERT_EQ(kErrorSuccess, registry_->QueryValue(key, u"v", nullptr, nullptr, &size));
  EXPECT_EQ(6u, size);
  std::u16string out;
  EXPECT_EQ(kSOk, Read(Scratch(u"x\\y\\z"), u"v", out, true));
  EXPECT_EQ(u"abc", out);

  // The empty string is stored as zero bytes, which reads as a failure.
  ASSERT_EQ(kSOk, Write(Scratch(u"x\\y\\z"), u""));
  out.clear();
  EXPECT_EQ(kEFail, Read(Scratch(u"x\\y\\z"), u"v", out, true));
  EXPECT_EQ(u"", out);
}

}  // namespace glimmer::contract

GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RegistryContract);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(RegistryStringContract);
