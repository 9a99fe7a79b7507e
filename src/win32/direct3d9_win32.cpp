#include "win32/direct3d9_win32.h"

// clang-format off
#include "win32/windows_api.h"
#include <d3d9.h>
// clang-format on

#include <cstring>

#include "win32/system_library.h"

namespace glimmer::win32 {

static_assert(kD3dSdkVersion == D3D_SDK_VERSION);
static_assert(kD3dErrInvalidCall == D3DERR_INVALIDCALL);
static_assert(kD3dErrNotAvailable == D3DERR_NOTAVAILABLE);
static_assert(kD3dDevTypeHal == D3DDEVTYPE_HAL);
static_assert(kD3dFmtUnknown == D3DFMT_UNKNOWN);
static_assert(kD3dFmtA8R8G8B8 == D3DFMT_A8R8G8B8);
static_assert(kD3dFmtX8R8G8B8 == D3DFMT_X8R8G8B8);
static_assert(kD3dFmtR5G6B5 == D3DFMT_R5G6B5);
static_assert(kD3dFmtX1R5G5B5 == D3DFMT_X1R5G5B5);
static_assert(kD3dFmtD32 == D3DFMT_D32);
static_assert(kD3dFmtD24S8 == D3DFMT_D24S8);
static_assert(kD3dFmtD24X8 == D3DFMT_D24X8);
static_assert(kD3dFmtD24X4S4 == D3DFMT_D24X4S4);
static_assert(kD3dFmtD16 == D3DFMT_D16);
static_assert(kD3dUsageDepthStencil == D3DUSAGE_DEPTHSTENCIL);
static_assert(kD3dRTypeSurface == D3DRTYPE_SURFACE);
static_assert(kD3dDevCapsHwTransformAndLight == D3DDEVCAPS_HWTRANSFORMANDLIGHT);
static_assert(kD3dCreateHardwareVertexProcessing == D3DCREATE_HARDWARE_VERTEXPROCESSING);
static_assert(kD3dCreateSoftwareVertexProcessing == D3DCREATE_SOFTWARE_VERTEXPROCESSING);

namespace {

// The identifier texts are fixed arrays that a driver may fill to the end
// without a terminator.
template <std::size_t N>
std::string FixedText(const char (&text)[N]) {
  return std::string(text, strnlen(text, N));
}

D3dDisplayMode FromNative(const D3DDISPLAYMODE& mode) {
  return D3dDisplayMode{mode.Width, mode.Height, mode.RefreshRate,
                        static_cast<std::int32_t>(mode.Format)};
}

struct ReleaseDeleter {
  void operator()(IUnknown* object) const { object->Release(); }
};

class Win32Direct3D9Object final : public Direct3D9 {
 public:
  // The library stays loaded until the object is released.
  Win32Direct3D9Object(Library library, std::shared_ptr<IDirect3D9> object)
      : library_(std::move(library)), object_(std::move(object)) {}

  std::uint32_t GetAdapterCount() override { return object_->GetAdapterCount(); }

  HResult GetAdapterIdentifier(std::uint32_t adapter, std::uint32_t flags,
                               D3dAdapterIdentifier& identifier) override {
    D3DADAPTER_IDENTIFIER9 native{};
    const HRESULT result = object_->GetAdapterIdentifier(adapter, flags, &native);
    if (SUCCEEDED(result)) {
      identifier.driver = FixedText(native.Driver);
      identifier.description = FixedText(native.Description);
      identifier.deviceName = FixedText(native.DeviceName);
      identifier.vendorId = native.VendorId;
      identifier.deviceId = native.DeviceId;
    }
    return result;
  }

  HResult GetAdapterDisplayMode(std::uint32_t adapter, D3dDisplayMode& mode) override {
    D3DDISPLAYMODE native{};
    const HRESULT result = object_->GetAdapterDisplayMode(adapter, &native);
    if (SUCCEEDED(result)) mode = FromNative(native);
    return result;
  }

  std::uint32_t GetAdapterModeCount(std::uint32_t adapter, std::int32_t format) override {
    return object_->GetAdapterModeCount(adapter, static_cast<D3DFORMAT>(format));
  }

  HResult EnumAdapterModes(std::uint32_t adapter, std::int32_t format, std::uint32_t index,
                           D3dDisplayMode& mode) override {
    D3DDISPLAYMODE native{};
    const HRESULT result =
        object_->EnumAdapterModes(adapter, static_cast<D3DFORMAT>(format), index, &native);
    if (SUCCEEDED(result)) mode = FromNative(native);
    return result;
  }

  HResult GetDeviceCaps(std::uint32_t adapter, std::uint32_t deviceType, D3dCaps& caps) override {
    D3DCAPS9 native{};
    const HRESULT result =
        object_->GetDeviceCaps(adapter, static_cast<D3DDEVTYPE>(deviceType), &native);
    if (SUCCEEDED(result)) {
      caps.deviceType = static_cast<std::uint32_t>(native.DeviceType);
      caps.adapterOrdinal = native.AdapterOrdinal;
      caps.devCaps = native.DevCaps;
      caps.numberOfAdaptersInGroup = native.NumberOfAdaptersInGroup;
      caps.masterAdapterOrdinal = native.MasterAdapterOrdinal;
      caps.adapterOrdinalInGroup = native.AdapterOrdinalInGroup;
    }
    return result;
  }

  HResult CheckDeviceType(std::uint32_t adapter, std::uint32_t deviceType,
                          std::int32_t displayFormat, std::int32_t backBufferFormat,
                          bool windowed) override {
    return object_->CheckDeviceType(adapter, static_cast<D3DDEVTYPE>(deviceType),
                                    static_cast<D3DFORMAT>(displayFormat),
                                    static_cast<D3DFORMAT>(backBufferFormat), windowed);
  }

  HResult CheckDeviceFormat(std::uint32_t adapter, std::uint32_t deviceType,
                            std::int32_t adapterFormat, std::uint32_t usage,
                            std::uint32_t resourceType, std::int32_t checkFormat) override {
    return object_->CheckDeviceFormat(
        adapter, static_cast<D3DDEVTYPE>(deviceType), static_cast<D3DFORMAT>(adapterFormat), usage,
        static_cast<D3DRESOURCETYPE>(resourceType), static_cast<D3DFORMAT>(checkFormat));
  }

  HResult CheckDepthStencilMatch(std::uint32_t adapter, std::uint32_t deviceType,
                                 std::int32_t adapterFormat, std::int32_t renderTargetFormat,
                                 std::int32_t depthStencilFormat) override {
    return object_->CheckDepthStencilMatch(
        adapter, static_cast<D3DDEVTYPE>(deviceType), static_cast<D3DFORMAT>(adapterFormat),
        static_cast<D3DFORMAT>(renderTargetFormat), static_cast<D3DFORMAT>(depthStencilFormat));
  }

  MonitorHandle GetAdapterMonitor(std::uint32_t adapter) override {
    return reinterpret_cast<MonitorHandle>(object_->GetAdapterMonitor(adapter));
  }

 private:
  Library library_;  // declared first: freed after the object is released
  std::shared_ptr<IDirect3D9> object_;
};

}  // namespace

std::unique_ptr<Direct3D9> Win32Direct3D9::Direct3DCreate9(std::uint32_t sdkVersion) {
  if (!pinned_) pinned_ = LoadSystemLibrary(L"d3d9.dll");
  Library library = LoadSystemLibrary(L"d3d9.dll");
  if (!library) return nullptr;
  using CreateFn = IDirect3D9*(WINAPI*)(UINT);
  const auto create = GetEntry<CreateFn>(library.get(), "Direct3DCreate9");
  if (!create) return nullptr;
  std::shared_ptr<IDirect3D9> object = live_.lock();
  if (!object || liveVersion_ != sdkVersion) {
    IDirect3D9* created = create(sdkVersion);
    if (!created) return nullptr;
    object.reset(created, ReleaseDeleter());
    live_ = object;
    liveVersion_ = sdkVersion;
  }
  return std::make_unique<Win32Direct3D9Object>(std::move(library), std::move(object));
}

}  // namespace glimmer::win32
