#include "win32/wmi_win32.h"

#include <utility>

#include "win32/com_ptr.h"
#include "win32/system_dlls.h"
#include "win32/wide.h"
#include "win32/windows_api.h"

// After <windows.h>: the WMI interfaces need the COM types.
#include <oleauto.h>
#include <wbemcli.h>

namespace glimmer::win32 {
namespace {

static_assert(kSFalse == S_FALSE && kSFalse == static_cast<HResult>(WBEM_S_FALSE));
static_assert(kWbemSTimedOut == static_cast<HResult>(WBEM_S_TIMEDOUT));
static_assert(kWbemENotFound == static_cast<HResult>(WBEM_E_NOT_FOUND));
static_assert(kWbemEInvalidNamespace == static_cast<HResult>(WBEM_E_INVALID_NAMESPACE));
static_assert(kWbemEInvalidClass == static_cast<HResult>(WBEM_E_INVALID_CLASS));
static_assert(kWbemEInvalidOperation == static_cast<HResult>(WBEM_E_INVALID_OPERATION));
static_assert(kWbemFlagReturnImmediately == WBEM_FLAG_RETURN_IMMEDIATELY &&
              kWbemFlagForwardOnly == WBEM_FLAG_FORWARD_ONLY);
static_assert(kRegDbEClassNotReg == static_cast<HResult>(REGDB_E_CLASSNOTREG));
static_assert(kWbemInfinite == static_cast<std::int32_t>(WBEM_INFINITE));
static_assert(kRpcCAuthnWinnt == RPC_C_AUTHN_WINNT && kRpcCAuthzNone == RPC_C_AUTHZ_NONE);
static_assert(kRpcCAuthnLevelCall == RPC_C_AUTHN_LEVEL_CALL);
static_assert(kRpcCImpLevelImpersonate == RPC_C_IMP_LEVEL_IMPERSONATE && kEoacNone == EOAC_NONE);
static_assert(kVtEmpty == VT_EMPTY && kVtNull == VT_NULL && kVtI4 == VT_I4 && kVtBstr == VT_BSTR &&
              kVtUi4 == VT_UI4);

// Defined here rather than taken from a GUID library.
constexpr CLSID kClsidWbemLocator = {
    0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
constexpr IID kIidWbemLocator = {
    0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};

constexpr LazyEntry<decltype(&::SysAllocStringLen)> sysAllocStringLen{SystemDll::OleAut32,
                                                                      "SysAllocStringLen"};
constexpr LazyEntry<decltype(&::SysFreeString)> sysFreeString{SystemDll::OleAut32, "SysFreeString"};
constexpr LazyEntry<decltype(&::SysStringLen)> sysStringLen{SystemDll::OleAut32, "SysStringLen"};
constexpr LazyEntry<decltype(&::VariantInit)> variantInit{SystemDll::OleAut32, "VariantInit"};
constexpr LazyEntry<decltype(&::VariantClear)> variantClear{SystemDll::OleAut32, "VariantClear"};
constexpr LazyEntry<decltype(&::CoInitialize)> coInitialize{SystemDll::Ole32, "CoInitialize"};
constexpr LazyEntry<decltype(&::CoUninitialize)> coUninitialize{SystemDll::Ole32, "CoUninitialize"};
constexpr LazyEntry<decltype(&::CoCreateInstance)> coCreateInstance{SystemDll::Ole32,
                                                                    "CoCreateInstance"};

constexpr LazyEntry<decltype(&::CoSetProxyBlanket)> coSetProxyBlanket{SystemDll::Ole32,
                                                                      "CoSetProxyBlanket"};

// A BSTR for one call.
class BString {
 public:
  explicit BString(std::u16string_view text)
      : text_(sysAllocStringLen.CallOr<BSTR>(nullptr, reinterpret_cast<const OLECHAR*>(text.data()),
                                             static_cast<UINT>(text.size()))) {}
  BString(const BString&) = delete;
  BString& operator=(const BString&) = delete;
  ~BString() { sysFreeString.Call(text_); }
  BSTR get() const { return text_; }

 private:
  BSTR text_;
};

class Win32ClassObject final : public WbemClassObject {
 public:
  explicit Win32ClassObject(IWbemClassObject* object) : object_(object) {}
  HResult Get(std::u16string_view name, WmiValue& value) override {
    VARIANT raw{};
    variantInit.Call(&raw);
    const std::wstring wideName = Wide(name);
    const HRESULT result = object_->Get(wideName.c_str(), 0, &raw, nullptr, nullptr);
    if (SUCCEEDED(result)) {
      value = WmiValue{};
      value.type = raw.vt;
      if (raw.vt == VT_BSTR && raw.bstrVal != nullptr)
        value.text.assign(AsU16(raw.bstrVal), sysStringLen.CallOr(0u, raw.bstrVal));
      if (raw.vt == VT_I4 || raw.vt == VT_UI4) value.bits = raw.ulVal;
    }
    variantClear.CallOr(E_FAIL, &raw);
    return result;
  }

 private:
  ComPtr<IWbemClassObject> object_;
};

class Win32Enumerator final : public EnumWbemClassObject {
 public:
  explicit Win32Enumerator(IEnumWbemClassObject* enumerator) : enumerator_(enumerator) {}
  HResult Reset() override { return enumerator_->Reset(); }
  HResult Next(std::int32_t timeoutMs, std::uint32_t count,
               std::vector<std::unique_ptr<WbemClassObject>>& objects) override {
    objects.clear();
    std::vector<IWbemClassObject*> raw(count, nullptr);
    ULONG returned = 0;
    const HRESULT result = enumerator_->Next(timeoutMs, count, raw.data(), &returned);
    // Only the first `returned` slots are the caller's to release.
    for (ULONG i = 0; i < returned && i < count; ++i)
      if (raw[i] != nullptr) objects.push_back(std::make_unique<Win32ClassObject>(raw[i]));
    return result;
  }

 private:
  ComPtr<IEnumWbemClassObject> enumerator_;
};

class Win32Services final : public WbemServices {
 public:
  explicit Win32Services(IWbemServices* services) : services_(services) {}
  HResult CreateInstanceEnum(std::u16string_view className, std::int32_t flags,
                             std::unique_ptr<EnumWbemClassObject>& enumerator) override {
    const BString name(className);
    IEnumWbemClassObject* raw = nullptr;
    const HRESULT result = services_->CreateInstanceEnum(name.get(), flags, nullptr, &raw);
    if (SUCCEEDED(result) && raw != nullptr) enumerator = std::make_unique<Win32Enumerator>(raw);
    return result;
  }
  IUnknown* Unknown() const { return services_.get(); }

 private:
  ComPtr<IWbemServices> services_;
};

class Win32Locator final : public WbemLocator {
 public:
  explicit Win32Locator(IWbemLocator* locator) : locator_(locator) {}
  HResult ConnectServer(std::u16string_view networkResource,
                        std::unique_ptr<WbemServices>& services) override {
    const BString resource(networkResource);
    IWbemServices* raw = nullptr;
    const HRESULT result = locator_->ConnectServer(resource.get(), nullptr, nullptr, nullptr, 0,
                                                   nullptr, nullptr, &raw);
    if (SUCCEEDED(result) && raw != nullptr) services = std::make_unique<Win32Services>(raw);
    return result;
  }

 private:
  ComPtr<IWbemLocator> locator_;
};

class Win32ProxyBlanket final : public ProxyBlanketEntry {
 public:
  explicit Win32ProxyBlanket(decltype(&::CoSetProxyBlanket) entry) : entry_(entry) {}
  HResult CoSetProxyBlanket(WbemServices& services, std::uint32_t authnService,
                            std::uint32_t authzService, std::uint32_t authnLevel,
                            std::uint32_t impLevel, std::uint32_t capabilities) override {
    // Only a services object of this adapter has a proxy to dress.
    auto* proxy = dynamic_cast<Win32Services*>(&services);
    if (proxy == nullptr) return E_INVALIDARG;
    return entry_(proxy->Unknown(), authnService, authzService, nullptr, authnLevel, impLevel,
                  nullptr, capabilities);
  }

 private:
  decltype(&::CoSetProxyBlanket) entry_;
};

}  // namespace

HResult Win32Wmi::CoInitialize() { return coInitialize.CallOr(E_FAIL, nullptr); }

void Win32Wmi::CoUninitialize() { coUninitialize.Call(); }

HResult Win32Wmi::CreateWbemLocator(std::unique_ptr<WbemLocator>& locator) {
  void* raw = nullptr;
  const HRESULT result = coCreateInstance.CallOr(E_FAIL, kClsidWbemLocator, nullptr,
                                                 CLSCTX_INPROC_SERVER, kIidWbemLocator, &raw);
  if (SUCCEEDED(result) && raw != nullptr)
    locator = std::make_unique<Win32Locator>(static_cast<IWbemLocator*>(raw));
  return result;
}

std::unique_ptr<ProxyBlanketEntry> Win32Wmi::LoadCoSetProxyBlanket() {
  const auto entry = coSetProxyBlanket.Get();
  if (entry == nullptr) return nullptr;
  return std::make_unique<Win32ProxyBlanket>(entry);
}

}  // namespace glimmer::win32
