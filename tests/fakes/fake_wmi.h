// WMI with scripted video controllers, the failures a caller must survive,
// and a record of every call and release, so tests can check the order of the
// calls and that nothing outlives the query.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/wmi_port.h"

namespace glimmer::fakes {

// One Win32_VideoController instance: its properties by name. A name that is
// not there makes Get fail with kWbemENotFound, as for an unknown property.
struct FakeVideoController {
  std::map<std::u16string, WmiValue> properties;

  // A controller with a text PNPDeviceID and an integer AdapterRAM (VT_I4, as
  // WMI hands over uint32 properties).
  static FakeVideoController With(std::u16string pnpDeviceId, std::uint32_t adapterRam);
};

WmiValue TextValue(std::u16string text);
WmiValue IntegerValue(std::uint32_t bits, std::uint16_t type = kVtI4);
WmiValue NullValue();

class FakeWmi : public WmiPort {
 public:
  // What the controllers of a one-adapter machine look like.
  FakeWmi();
  ~FakeWmi() override;

  std::vector<FakeVideoController> controllers;

  HResult coInitializeResult = kSOk;
  // COM is open on this thread in another mode (CoInitialize then answers
  // RPC_E_CHANGED_MODE), so objects can be created without a CoInitialize.
  bool comOpenedElsewhere = false;
  HResult createLocatorResult = kSOk;
  HResult connectResult = kSOk;  // for the one namespace that exists
  bool proxyBlanketAvailable = true;
  HResult proxyBlanketResult = kSOk;
  HResult createEnumResult = kSOk;  // for the one class that exists
  // How long the service takes to gather the controllers (seconds on a freshly
  // booted machine or with a damaged repository). A synchronous
  // CreateInstanceEnum (without kWbemFlagReturnImmediately) waits all of it; a
  // semi-synchronous one returns at once and Next waits at most its timeout,
  // answering kWbemSTimedOut with nothing when that runs out first.
  std::int32_t gatheringMs = 0;
  // How long the calls kept the caller waiting, in all.
  std::int64_t waitedMs = 0;
  // Get of these property names fails with this code, on every controller.
  std::map<std::u16string, HResult> failingGets;

  // One entry per call, in order: "CoInitialize", "CreateWbemLocator",
  // "ConnectServer <ns>", "LoadCoSetProxyBlanket", "CoSetProxyBlanket a,b,c,d,e",
  // "FreeOle32", "CreateInstanceEnum <class> <flags>", "Reset", "Next <ms> <n>",
  // "Get <index> <name>", "Release <what>", "CoUninitialize".
  std::vector<std::string> calls;
  int liveObjects = 0;   // locators, services, enumerators and class objects not released
  int ole32Loaded = 0;   // loads of ole32.dll not freed again
  int comOpenCount = 0;  // successful CoInitialize minus CoUninitialize

  HResult CoInitialize() override;
  void CoUninitialize() override;
  HResult CreateWbemLocator(std::unique_ptr<WbemLocator>& locator) override;
  std::unique_ptr<ProxyBlanketEntry> LoadCoSetProxyBlanket() override;

  // The calls whose entry starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(std::string_view prefix) const;

  void Log(std::string entry) { calls.push_back(std::move(entry)); }
};

}  // namespace glimmer::fakes
