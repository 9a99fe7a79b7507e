#include "contract/wmi_contract.h"

#include <cstdio>
#include <vector>

#include "platform/text.h"

namespace glimmer::contract {
namespace {

std::string Hex(HResult result) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(result));
  return text;
}

using Objects = std::vector<std::unique_ptr<WbemClassObject>>;

}  // namespace

void WmiContract::SetUp() {
  port_ = GetParam().make();
  const HResult opened = port_->CoInitialize();
  ASSERT_TRUE(Succeeded(opened)) << Hex(opened);
  comOpen_ = true;
}

void WmiContract::TearDown() {
  // Every object goes before COM is closed.
  enumerator_.reset();
  services_.reset();
  locator_.reset();
  if (comOpen_) port_->CoUninitialize();
}

void WmiContract::OpenControllers(std::int32_t flags) {
  HResult result = port_->CreateWbemLocator(locator_);
  ASSERT_EQ(result, kSOk) << Hex(result);
  ASSERT_NE(locator_, nullptr);
  result = locator_->ConnectServer(u"\\\\.\\root\\cimv2", services_);
  ASSERT_EQ(result, kSOk) << Hex(result);
  ASSERT_NE(services_, nullptr);
  {
    const std::unique_ptr<ProxyBlanketEntry> blanket = port_->LoadCoSetProxyBlanket();
    ASSERT_NE(blanket, nullptr);
    result = blanket->CoSetProxyBlanket(*services_, kRpcCAuthnWinnt, kRpcCAuthzNone,
                                        kRpcCAuthnLevelCall, kRpcCImpLevelImpersonate, kEoacNone);
    EXPECT_EQ(result, kSOk) << Hex(result);
  }
  result = services_->CreateInstanceEnum(u"Win32_VideoController", flags, enumerator_);
  ASSERT_EQ(result, kSOk) << Hex(result);
  ASSERT_NE(enumerator_, nullptr);
  if ((flags & kWbemFlagForwardOnly) == 0) {
    result = enumerator_->Reset();
    EXPECT_EQ(result, kSOk) << Hex(result);
  }
}

TEST_P(WmiContract, NestedCoInitializeAnswersSFalseAndStillCounts) {
  const HResult nested = port_->CoInitialize();
  EXPECT_EQ(nested, kSFalse) << Hex(nested);
  port_->CoUninitialize();  // balances the nested open; the fixture closes the first
  // COM is still usable after the inner close.
  std::unique_ptr<WbemLocator> locator;
  EXPECT_EQ(port_->CreateWbemLocator(locator), kSOk);
}

// Asked synchronously, and as the video memory query asks: the call returns
// at once and the one batch waits at most its timeout.
TEST_P(WmiContract, OneBatchHoldsEveryControllerWithTextIdAndIntegerMemory) {
  for (const std::int32_t flags : {0, kWbemFlagReturnImmediately | kWbemFlagForwardOnly}) {
    SCOPED_TRACE("flags " + std::to_string(flags));
    enumerator_.reset();
    services_.reset();
    locator_.reset();
    ASSERT_NO_FATAL_FAILURE(OpenControllers(flags));
    if (flags & kWbemFlagForwardOnly) {
      // Windows refuses to rewind a forward-only enumerator; Wine takes no
      // notice of the flags and rewinds it.
      const HResult reset = enumerator_->Reset();
      EXPECT_TRUE(reset == kWbemEInvalidOperation || reset == kSOk) << Hex(reset);
    }
    Objects objects;
    const HResult result = enumerator_->Next(5000, 10, objects);
    ASSERT_GE(objects.size(), 1u);
    ASSERT_LE(objects.size(), 10u);
    // Fewer than asked for is S_FALSE, not a failure.
    EXPECT_EQ(result, objects.size() == 10 ? kSOk : kSFalse) << Hex(result);
    for (std::size_t i = 0; i < objects.size(); ++i) {
      SCOPED_TRACE("controller " + std::to_string(i));
      WmiValue id;
      WmiValue memory;
      ASSERT_EQ(objects[i]->Get(u"PNPDeviceID", id), kSOk);
      EXPECT_EQ(id.type, kVtBstr);
      EXPECT_FALSE(id.text.empty());
      ASSERT_EQ(objects[i]->Get(u"AdapterRAM", memory), kSOk);
      // A uint32 property arrives as VT_I4; its bits are the byte count.
      EXPECT_EQ(memory.type, kVtI4) << ToUtf8(id.text);
      // Property names are not case-sensitive.
      WmiValue again;
      ASSERT_EQ(objects[i]->Get(u"pnpdeviceid", again), kSOk);
      EXPECT_EQ(again.text, id.text);
    }
    Objects after;
    EXPECT_EQ(enumerator_->Next(5000, 10, after), kSFalse);
    EXPECT_TRUE(after.empty());
  }
}

TEST_P(WmiContract, NextGoesOnWhereItStoppedAndResetRewinds) {
  ASSERT_NO_FATAL_FAILURE(OpenControllers());
  Objects first;
  ASSERT_EQ(enumerator_->Next(5000, 1, first), kSOk);
  ASSERT_EQ(first.size(), 1u);
  WmiValue firstId;
  ASSERT_EQ(first[0]->Get(u"PNPDeviceID", firstId), kSOk);

  Objects rest;
  enumerator_->Next(5000, 10, rest);
  Objects after;
  EXPECT_EQ(enumerator_->Next(5000, 10, after), kSFalse);
  EXPECT_TRUE(after.empty());

  ASSERT_EQ(enumerator_->Reset(), kSOk);
  Objects again;
  ASSERT_EQ(enumerator_->Next(5000, 1, again), kSOk);
  ASSERT_EQ(again.size(), 1u);
  WmiValue againId;
  ASSERT_EQ(again[0]->Get(u"PNPDeviceID", againId), kSOk);
  EXPECT_EQ(againId.text, firstId.text);
}

TEST_P(WmiContract, UnknownNamesAreRefusedWithTheirOwnCodes) {
  ASSERT_NO_FATAL_FAILURE(OpenControllers());
  std::unique_ptr<WbemServices> elsewhere;
  const HResult connect = locator_->ConnectServer(u"\\\\.\\root\\glimmerdale_none", elsewhere);
  EXPECT_EQ(connect, kWbemEInvalidNamespace) << Hex(connect);
  EXPECT_EQ(elsewhere, nullptr);

  // Windows refuses an unknown class at once; Wine hands out an enumerator
  // that yields nothing. Either way no object of it is ever seen.
  std::unique_ptr<EnumWbemClassObject> none;
  const HResult create = services_->CreateInstanceEnum(u"Glimmerdale_NoSuchClass", 0, none);
  if (Succeeded(create)) {
    ASSERT_NE(none, nullptr);
    Objects nothing;
    none->Next(5000, 10, nothing);
    EXPECT_TRUE(nothing.empty());
  } else {
    EXPECT_EQ(create, kWbemEInvalidClass) << Hex(create);
    EXPECT_EQ(none, nullptr);
  }

  // Class names are not case-sensitive either.
  std::unique_ptr<EnumWbemClassObject> lower;
  EXPECT_EQ(services_->CreateInstanceEnum(u"win32_videocontroller", 0, lower), kSOk);

  Objects objects;
  enumerator_->Next(5000, 1, objects);
  ASSERT_EQ(objects.size(), 1u);
  WmiValue value;
  const HResult get = objects[0]->Get(u"GlimmerdaleNoSuchProperty", value);
  EXPECT_EQ(get, kWbemENotFound) << Hex(get);
}

}  // namespace glimmer::contract
