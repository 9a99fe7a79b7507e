#include "win32/direct3d11_win32.h"

// clang-format off
#include "win32/windows_api.h"
#include <d3d11.h>
// clang-format on

#include "win32/com_ptr.h"
#include "win32/system_dlls.h"

namespace glimmer::win32 {

static_assert(kD3dDriverTypeHardware == D3D_DRIVER_TYPE_HARDWARE);
static_assert(kD3d11SdkVersion == D3D11_SDK_VERSION);
static_assert(kDxgiFormatUnknown == DXGI_FORMAT_UNKNOWN);
static_assert(kDxgiFormatR8G8B8A8Unorm == DXGI_FORMAT_R8G8B8A8_UNORM);
static_assert(kD3d11MaxMultisampleSampleCount == D3D11_MAX_MULTISAMPLE_SAMPLE_COUNT);

namespace {

class Win32Direct3D11Device final : public Direct3D11Device {
 public:
  Win32Direct3D11Device(ComPtr<ID3D11Device> device, ComPtr<ID3D11DeviceContext> context)
      : device_(std::move(device)), context_(std::move(context)) {}

  HResult CheckMultisampleQualityLevels(std::uint32_t format, std::uint32_t sampleCount,
                                        std::uint32_t& levels) override {
    UINT native = 0;
    const HRESULT result = device_->CheckMultisampleQualityLevels(static_cast<DXGI_FORMAT>(format),
                                                                  sampleCount, &native);
    levels = native;
    return result;
  }

 private:
  // Released in reverse order: the context, then the device.
  ComPtr<ID3D11Device> device_;
  ComPtr<ID3D11DeviceContext> context_;
};

}  // namespace

HResult Win32Direct3D11::D3D11CreateDevice(std::uint32_t driverType, std::uint32_t flags,
                                           std::uint32_t sdkVersion,
                                           std::unique_ptr<Direct3D11Device>& device,
                                           std::uint32_t& featureLevel) {
  device.reset();
  constexpr LazyEntry<PFN_D3D11_CREATE_DEVICE> create{SystemDll::Direct3D11, "D3D11CreateDevice"};
  const PFN_D3D11_CREATE_DEVICE entry = create.Get();
  if (!entry) return kEFail;
  ID3D11Device* rawDevice = nullptr;
  ID3D11DeviceContext* rawContext = nullptr;
  D3D_FEATURE_LEVEL level{};
  const HRESULT result = entry(nullptr, static_cast<D3D_DRIVER_TYPE>(driverType), nullptr, flags,
                               nullptr, 0, sdkVersion, &rawDevice, &level, &rawContext);
  ComPtr<ID3D11Device> created(rawDevice);
  ComPtr<ID3D11DeviceContext> context(rawContext);
  if (FAILED(result) || !created) return FAILED(result) ? result : kEFail;
  featureLevel = static_cast<std::uint32_t>(level);
  device = std::make_unique<Win32Direct3D11Device>(std::move(created), std::move(context));
  return result;
}

}  // namespace glimmer::win32
