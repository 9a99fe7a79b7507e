// WMI as the video memory query sees it: COM start-up, the locator, the
// services object, an instance enumerator and class objects, with the calls
// and arguments of the COM interfaces they stand for. Every object's
// destruction is its Release. The adapter only translates; which call comes
// next, and what a failure leads to, is decided by the caller.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/hresult.h"
#include "platform/ports.h"

namespace glimmer {

// HRESULTs that WMI answers with and the tests tell apart.
inline constexpr HResult kWbemSTimedOut = 0x40004;
inline constexpr HResult kWbemENotFound = static_cast<HResult>(0x80041002u);
inline constexpr HResult kWbemEInvalidNamespace = static_cast<HResult>(0x8004100Eu);
inline constexpr HResult kWbemEInvalidClass = static_cast<HResult>(0x80041010u);
inline constexpr HResult kWbemEInvalidOperation = static_cast<HResult>(0x80041016u);
inline constexpr HResult kRegDbEClassNotReg = static_cast<HResult>(0x80040154u);

// CoSetProxyBlanket arguments.
inline constexpr std::uint32_t kRpcCAuthnWinnt = 10;
inline constexpr std::uint32_t kRpcCAuthzNone = 0;
inline constexpr std::uint32_t kRpcCAuthnLevelCall = 3;
inline constexpr std::uint32_t kRpcCImpLevelImpersonate = 3;
inline constexpr std::uint32_t kEoacNone = 0;

// IEnumWbemClassObject::Next timeout.
inline constexpr std::int32_t kWbemInfinite = -1;

// CreateInstanceEnum flags. With 0 the call itself returns only when the
// whole enumeration is done; with WBEM_FLAG_RETURN_IMMEDIATELY it returns at
// once and each Next waits for its batch at most its timeout.
// WBEM_FLAG_FORWARD_ONLY lets the service drop what was handed out, and its
// enumerator refuses Reset with kWbemEInvalidOperation.
inline constexpr std::int32_t kWbemFlagReturnImmediately = 0x10;
inline constexpr std::int32_t kWbemFlagForwardOnly = 0x20;

// VARIANT types a property value can arrive as.
inline constexpr std::uint16_t kVtEmpty = 0;
inline constexpr std::uint16_t kVtNull = 1;
inline constexpr std::uint16_t kVtI4 = 3;
inline constexpr std::uint16_t kVtBstr = 8;
inline constexpr std::uint16_t kVtUi4 = 19;

// A VARIANT as read from a class object: its type, the BSTR text for
// kVtBstr, and the 32 bits of lVal/ulVal for kVtI4 and kVtUi4 (0 otherwise).
struct WmiValue {
  std::uint16_t type = kVtEmpty;
  std::u16string text;
  std::uint32_t bits = 0;
};

// IWbemClassObject.
class WbemClassObject {
 public:
  virtual ~WbemClassObject() = default;
  // Get(name, 0, &value, null type, null flavor); the VARIANT is cleared after
  // its contents are copied.
  virtual HResult Get(std::u16string_view name, WmiValue& value) = 0;
};

// IEnumWbemClassObject.
class EnumWbemClassObject {
 public:
  virtual ~EnumWbemClassObject() = default;
  virtual HResult Reset() = 0;
  // Next(timeout, count, objects, &returned): objects receives the returned
  // ones in order. kSOk when count were returned, kSFalse when fewer and the
  // enumeration is done, kWbemSTimedOut when fewer and the timeout ran out.
  virtual HResult Next(std::int32_t timeoutMs, std::uint32_t count,
                       std::vector<std::unique_ptr<WbemClassObject>>& objects) = 0;
};

// IWbemServices.
class WbemServices {
 public:
  virtual ~WbemServices() = default;
  // CreateInstanceEnum(className, flags, no context, &enumerator).
  virtual HResult CreateInstanceEnum(std::u16string_view className, std::int32_t flags,
                                     std::unique_ptr<EnumWbemClassObject>& enumerator) = 0;
};

// IWbemLocator.
class WbemLocator {
 public:
  virtual ~WbemLocator() = default;
  // ConnectServer(networkResource, no user, no password, no locale, flags 0,
  // no authority, no context, &services).
  virtual HResult ConnectServer(std::u16string_view networkResource,
                                std::unique_ptr<WbemServices>& services) = 0;
};

// CoSetProxyBlanket looked up by name in ole32.dll.
class ProxyBlanketEntry {
 public:
  virtual ~ProxyBlanketEntry() = default;
  // CoSetProxyBlanket(services, authnService, authzService, no principal name,
  // authnLevel, impLevel, no identity, capabilities).
  virtual HResult CoSetProxyBlanket(WbemServices& services, std::uint32_t authnService,
                                    std::uint32_t authzService, std::uint32_t authnLevel,
                                    std::uint32_t impLevel, std::uint32_t capabilities) = 0;
};

class WmiPort {
 public:
  virtual ~WmiPort() = default;
  // CoInitialize(NULL) on the calling thread.
  virtual HResult CoInitialize() = 0;
  virtual void CoUninitialize() = 0;
  // CoCreateInstance(CLSID_WbemLocator, no outer, CLSCTX_INPROC_SERVER,
  // IID_IWbemLocator, &locator).
  virtual HResult CreateWbemLocator(std::unique_ptr<WbemLocator>& locator) = 0;
  // GetProcAddress("CoSetProxyBlanket") of ole32.dll, loaded from the system
  // folder on first use; null when either fails.
  virtual std::unique_ptr<ProxyBlanketEntry> LoadCoSetProxyBlanket() = 0;
};

}  // namespace glimmer
