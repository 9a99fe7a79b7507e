#include "win32/direct3d9_win32.h"

// clang-format off
#include "win32/windows_api.h"
#include <d3d9.h>
// clang-format on

#include <cstring>

#include "win32/com_ptr.h"
#include "win32/system_dlls.h"

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

class Win32Direct3D9Object final : public Direct3D9 {
 public:
  // Takes a reference of its own on the port's live object.
  explicit Win32Direct3D9Object(std::shared_ptr<Win32Direct3D9::Live> live)
      : live_(std::move(live)), object_(live_->object) {
    object_->AddRef();
    ++live_->holders;
  }
  Win32Direct3D9Object(const Win32Direct3D9Object&) = delete;
  Win32Direct3D9Object& operator=(const Win32Direct3D9Object&) = delete;
  ~Win32Direct3D9Object() override {
    if (--live_->holders == 0) live_->object = nullptr;
  }

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

  std::uintptr_t Identity() const override {
    return reinterpret_cast<std::uintptr_t>(object_.get());
  }

 private:
  std::shared_ptr<Win32Direct3D9::Live> live_;
  ComPtr<IDirect3D9> object_;
};

}  // namespace

std::unique_ptr<Direct3D9> Win32Direct3D9::Direct3DCreate9(std::uint32_t sdkVersion) {
  if (live_->holders > 0 && live_->version == sdkVersion)
    return std::make_unique<Win32Direct3D9Object>(live_);
  constexpr LazyEntry<decltype(&::Direct3DCreate9)> create{SystemDll::Direct3D9, "Direct3DCreate9"};
  // Released when this returns: the holder takes a reference of its own.
  const ComPtr<IDirect3D9> created(create.CallOr<IDirect3D9*>(nullptr, sdkVersion));
  if (!created) return nullptr;
  // An object of another version still in use keeps its own record.
  if (live_->holders > 0) live_ = std::make_shared<Live>();
  live_->object = created.get();
  live_->version = sdkVersion;
  return std::make_unique<Win32Direct3D9Object>(live_);
}

}  // namespace glimmer::win32
