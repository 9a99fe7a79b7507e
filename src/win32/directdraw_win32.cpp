#include "win32/directdraw_win32.h"

#include <cstring>
#include <utility>

#include "win32/com_ptr.h"
#include "win32/system_dlls.h"
#include "win32/windows_api.h"

// After <windows.h>: ddraw.h needs its types.
#include <ddraw.h>

namespace glimmer::win32 {
namespace {

static_assert(kDdEnumAttachedSecondaryDevices == DDENUM_ATTACHEDSECONDARYDEVICES);
static_assert(kDdsCapsVideoMemory == DDSCAPS_VIDEOMEMORY);
static_assert(sizeof(DdsCaps2) == sizeof(DDSCAPS2));
static_assert(sizeof(MonitorHandle) == sizeof(HMONITOR));

// IID_IDirectDraw7, defined here rather than taken from a GUID library.
constexpr GUID kIidDirectDraw7 = {
    0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

using DirectDrawEnumerateExAFn = HRESULT(WINAPI*)(LPDDENUMCALLBACKEXA, LPVOID, DWORD);
using DirectDrawCreateExFn = HRESULT(WINAPI*)(GUID*, LPVOID*, REFIID, IUnknown*);

class Win32DirectDraw7 final : public DirectDraw7 {
 public:
  explicit Win32DirectDraw7(IDirectDraw7* object) : object_(object) {}

  HResult GetAvailableVidMem(const DdsCaps2& caps, std::uint32_t* total,
                             std::uint32_t* free) override {
    DDSCAPS2 raw{};
    raw.dwCaps = caps.caps;
    raw.dwCaps2 = caps.caps2;
    raw.dwCaps3 = caps.caps3;
    raw.dwCaps4 = caps.caps4;
    DWORD totalBytes = 0;
    DWORD freeBytes = 0;
    const HRESULT result = object_->GetAvailableVidMem(&raw, total ? &totalBytes : nullptr,
                                                       free ? &freeBytes : nullptr);
    if (SUCCEEDED(result)) {
      if (total) *total = totalBytes;
      if (free) *free = freeBytes;
    }
    return result;
  }

 private:
  ComPtr<IDirectDraw7> object_;
};

struct EnumerationContext {
  const DirectDrawModule::DeviceVisitor* visit;
};

BOOL CALLBACK OnDevice(GUID* guid, LPSTR description, LPSTR name, LPVOID context,
                       HMONITOR monitor) {
  DirectDrawDeviceInfo device;
  if (guid != nullptr) {
    device.hasGuid = true;
    device.guid.data1 = guid->Data1;
    device.guid.data2 = guid->Data2;
    device.guid.data3 = guid->Data3;
    std::memcpy(device.guid.data4.data(), guid->Data4, sizeof(guid->Data4));
  }
  if (description != nullptr) device.description = description;
  if (name != nullptr) device.driverName = name;
  device.monitor = reinterpret_cast<MonitorHandle>(monitor);
  const auto* enumeration = static_cast<EnumerationContext*>(context);
  return (*enumeration->visit)(device) ? DDENUMRET_OK : DDENUMRET_CANCEL;
}

class Win32DirectDrawModule final : public DirectDrawModule {
 public:
  explicit Win32DirectDrawModule(HMODULE library) : library_(library) {}

  bool HasEntry(std::string_view name) override {
    return GetProcAddress(library_, std::string(name).c_str()) != nullptr;
  }

  HResult DirectDrawEnumerateExA(const DeviceVisitor& visit, std::uint32_t flags) override {
    constexpr LazyEntry<DirectDrawEnumerateExAFn> enumerateEntry{SystemDll::DirectDraw,
                                                                 kDirectDrawEnumerateExA.data()};
    const auto enumerate = enumerateEntry.Get();
    if (enumerate == nullptr) return E_FAIL;
    EnumerationContext context{&visit};
    return enumerate(OnDevice, &context, flags);
  }

  HResult DirectDrawCreateEx(std::unique_ptr<DirectDraw7>& object) override {
    constexpr LazyEntry<DirectDrawCreateExFn> createEntry{SystemDll::DirectDraw,
                                                          kDirectDrawCreateEx.data()};
    const auto create = createEntry.Get();
    if (create == nullptr) return E_FAIL;
    void* raw = nullptr;
    const HRESULT result = create(nullptr, &raw, kIidDirectDraw7, nullptr);
    if (SUCCEEDED(result) && raw != nullptr)
      object = std::make_unique<Win32DirectDraw7>(static_cast<IDirectDraw7*>(raw));
    return result;
  }

 private:
  HMODULE library_;
};

}  // namespace

std::unique_ptr<DirectDrawModule> Win32DirectDraw::LoadDirectDraw() {
  const HMODULE library = SystemDllModule(SystemDll::DirectDraw);
  if (!library) return nullptr;
  return std::make_unique<Win32DirectDrawModule>(library);
}

}  // namespace glimmer::win32
