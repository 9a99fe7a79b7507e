#include "fakes/fake_wmi.h"

#include <algorithm>

#include "platform/text.h"

namespace glimmer::fakes {
namespace {

// WMI compares namespace and class names without regard to case.
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  auto fold = [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](auto x, auto y) { return fold(x) == fold(y); });
}

class Counted {
 public:
  Counted(FakeWmi& wmi, std::string name) : wmi_(wmi), name_(std::move(name)) {
    ++wmi_.liveObjects;
  }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
  ~Counted() {
    --wmi_.liveObjects;
    wmi_.Log("Release " + name_);
  }

 protected:
  FakeWmi& wmi_;

 private:
  std::string name_;
};

class FakeClassObject final : public WbemClassObject, Counted {
 public:
  FakeClassObject(FakeWmi& wmi, std::size_t index)
      : Counted(wmi, "object " + std::to_string(index)), index_(index) {}
  HResult Get(std::u16string_view name, WmiValue& value) override {
    wmi_.Log("Get " + std::to_string(index_) + " " + ToUtf8(name));
    for (const auto& [failing, code] : wmi_.failingGets)
      if (SameIgnoringCase(failing, name)) return code;
    // The controller list may have changed since the fetch; a vanished one
    // has no properties.
    if (index_ >= wmi_.controllers.size()) return kWbemENotFound;
    for (const auto& [property, stored] : wmi_.controllers[index_].properties) {
      if (SameIgnoringCase(property, name)) {
        value = stored;
        return kSOk;
      }
    }
    return kWbemENotFound;
  }

 private:
  std::size_t index_;
};

class FakeEnumerator final : public EnumWbemClassObject, Counted {
 public:
  FakeEnumerator(FakeWmi& wmi, bool forwardOnly, std::int32_t gatheringMs)
      : Counted(wmi, "enumerator"), forwardOnly_(forwardOnly), gatheringMs_(gatheringMs) {}
  HResult Reset() override {
    wmi_.Log("Reset");
    if (forwardOnly_) return kWbemEInvalidOperation;
    next_ = 0;
    return kSOk;
  }
  HResult Next(std::int32_t timeoutMs, std::uint32_t count,
               std::vector<std::unique_ptr<WbemClassObject>>& objects) override {
    wmi_.Log("Next " + std::to_string(timeoutMs) + " " + std::to_string(count));
    objects.clear();
    if (gatheringMs_ > 0) {
      if (timeoutMs != kWbemInfinite && timeoutMs < gatheringMs_) {
        wmi_.waitedMs += timeoutMs;
        gatheringMs_ -= timeoutMs;
        return kWbemSTimedOut;
      }
      wmi_.waitedMs += gatheringMs_;
      gatheringMs_ = 0;
    }
    while (objects.size() < count && next_ < wmi_.controllers.size())
      objects.push_back(std::make_unique<FakeClassObject>(wmi_, next_++));
    return objects.size() == count ? kSOk : kSFalse;
  }

 private:
  bool forwardOnly_;
  std::int32_t gatheringMs_;  // still to wait before the first object
  std::size_t next_ = 0;
};

class FakeServices final : public WbemServices, Counted {
 public:
  explicit FakeServices(FakeWmi& wmi) : Counted(wmi, "services") {}
  HResult CreateInstanceEnum(std::u16string_view className, std::int32_t flags,
                             std::unique_ptr<EnumWbemClassObject>& enumerator) override {
    wmi_.Log("CreateInstanceEnum " + ToUtf8(className) + " " + std::to_string(flags));
    if (!SameIgnoringCase(className, u"Win32_VideoController")) return kWbemEInvalidClass;
    if (!Succeeded(wmi_.createEnumResult)) return wmi_.createEnumResult;
    std::int32_t gathering = wmi_.gatheringMs;
    if ((flags & kWbemFlagReturnImmediately) == 0) {
      wmi_.waitedMs += gathering;
      gathering = 0;
    }
    enumerator =
        std::make_unique<FakeEnumerator>(wmi_, (flags & kWbemFlagForwardOnly) != 0, gathering);
    return kSOk;
  }
};

class FakeLocator final : public WbemLocator, Counted {
 public:
  explicit FakeLocator(FakeWmi& wmi) : Counted(wmi, "locator") {}
  HResult ConnectServer(std::u16string_view networkResource,
                        std::unique_ptr<WbemServices>& services) override {
    wmi_.Log("ConnectServer " + ToUtf8(networkResource));
    if (!SameIgnoringCase(networkResource, u"\\\\.\\root\\cimv2")) return kWbemEInvalidNamespace;
    if (!Succeeded(wmi_.connectResult)) return wmi_.connectResult;
    services = std::make_unique<FakeServices>(wmi_);
    return kSOk;
  }
};

class FakeProxyBlanket final : public ProxyBlanketEntry {
 public:
  explicit FakeProxyBlanket(FakeWmi& wmi) : wmi_(wmi) { ++wmi_.ole32Loaded; }
  FakeProxyBlanket(const FakeProxyBlanket&) = delete;
  FakeProxyBlanket& operator=(const FakeProxyBlanket&) = delete;
  ~FakeProxyBlanket() override {
    --wmi_.ole32Loaded;
    wmi_.Log("FreeOle32");
  }
  HResult CoSetProxyBlanket(WbemServices& services, std::uint32_t authnService,
                            std::uint32_t authzService, std::uint32_t authnLevel,
                            std::uint32_t impLevel, std::uint32_t capabilities) override {
    wmi_.Log("CoSetProxyBlanket " + std::to_string(authnService) + "," +
             std::to_string(authzService) + "," + std::to_string(authnLevel) + "," +
             std::to_string(impLevel) + "," + std::to_string(capabilities));
    // Only a proxy of this WMI takes a blanket.
    if (dynamic_cast<FakeServices*>(&services) == nullptr) return static_cast<HResult>(0x80004002u);
    return wmi_.proxyBlanketResult;
  }

 private:
  FakeWmi& wmi_;
};

}  // namespace

FakeVideoController FakeVideoController::With(std::u16string pnpDeviceId,
                                              std::uint32_t adapterRam) {
  FakeVideoController controller;
  controller.properties[u"PNPDeviceID"] = TextValue(std::move(pnpDeviceId));
  controller.properties[u"AdapterRAM"] = IntegerValue(adapterRam);
  return controller;
}

WmiValue TextValue(std::u16string text) {
  WmiValue value;
  value.type = kVtBstr;
  value.text = std::move(text);
  return value;
}

WmiValue IntegerValue(std::uint32_t bits, std::uint16_t type) {
  WmiValue value;
  value.type = type;
  value.bits = bits;
  return value;
}

WmiValue NullValue() {
  WmiValue value;
  value.type = kVtNull;
  return value;
}

FakeWmi::FakeWmi() {
  controllers.push_back(FakeVideoController::With(
      u"PCI\\VEN_1002&DEV_687F&SUBSYS_0B361002&REV_C1\\4&2A5F6B3C&0&0019", 512u << 20));
}

FakeWmi::~FakeWmi() = default;

HResult FakeWmi::CoInitialize() {
  Log("CoInitialize");
  // A second open on the same thread answers S_FALSE and still counts.
  const HResult result =
      Succeeded(coInitializeResult) && comOpenCount > 0 ? kSFalse : coInitializeResult;
  if (Succeeded(result)) ++comOpenCount;
  return result;
}

void FakeWmi::CoUninitialize() {
  Log("CoUninitialize");
  --comOpenCount;
}

HResult FakeWmi::CreateWbemLocator(std::unique_ptr<WbemLocator>& locator) {
  Log("CreateWbemLocator");
  // COM refuses every creation on a thread where it was not opened.
  if (comOpenCount <= 0 && !comOpenedElsewhere)
    return static_cast<HResult>(0x800401F0u);  // CO_E_NOTINITIALIZED
  if (!Succeeded(createLocatorResult)) return createLocatorResult;
  locator = std::make_unique<FakeLocator>(*this);
  return kSOk;
}

std::unique_ptr<ProxyBlanketEntry> FakeWmi::LoadCoSetProxyBlanket() {
  Log("LoadCoSetProxyBlanket");
  if (!proxyBlanketAvailable) return nullptr;
  return std::make_unique<FakeProxyBlanket>(*this);
}

std::vector<std::string> FakeWmi::CallsStartingWith(std::string_view prefix) const {
  std::vector<std::string> found;
  for (const std::string& call : calls)
    if (call.rfind(prefix, 0) == 0) found.push_back(call);
  return found;
}

}  // namespace glimmer::fakes
