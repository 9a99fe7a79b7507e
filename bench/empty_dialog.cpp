// The yardstick for the settings dialog: an empty dialog that does the same
// hardware work before it shows its final title - COM and the track-bar
// classes, the Direct3D 9 adapter query, the video-memory query (the display
// device of the monitor, WMI, then DirectDraw), the 50 ms clock measurement
// and the Direct3D 11 multisample probe, in the shell's order - and does the work again on button
// 3, as Restore Defaults does.
// Nothing else: no catalogue, no settings, no controls worth the name.
#include <windows.h>
// After <windows.h>.
#include <commctrl.h>
#include <d3d11.h>
#include <d3d9.h>
#include <ddraw.h>
#include <intrin.h>
#include <oleauto.h>
#include <wbemcli.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace {

constexpr int kRestoreId = 3;
constexpr wchar_t kTemplateTitle[] = L"Empty Dialog";
constexpr wchar_t kFinalTitle[] = L"Empty Dialog Ready";

constexpr CLSID kClsidWbemLocator = {
    0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
constexpr IID kIidWbemLocator = {
    0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
constexpr GUID kIidDirectDraw7 = {
    0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

HMODULE SystemLibrary(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + 1 + lstrlenW(name) >= MAX_PATH) return nullptr;
  lstrcatW(path, L"\\");
  lstrcatW(path, name);
  return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

template <typename Function>
Function Entry(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// Time-stamp ticks over a 50 ms busy wait.
volatile unsigned long long measuredTicks = 0;
void MeasureClock() {
  LARGE_INTEGER frequency{}, start{}, now{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  const unsigned long long firstTicks = __rdtsc();
  do QueryPerformanceCounter(&now);
  while (now.QuadPart - start.QuadPart < frequency.QuadPart / 20);
  measuredTicks = __rdtsc() - firstTicks;
}

volatile unsigned long long videoMemory = 0;
void QueryVideoMemoryByWmi() {
  IWbemLocator* locator = nullptr;
  if (FAILED(CoCreateInstance(kClsidWbemLocator, nullptr, CLSCTX_INPROC_SERVER, kIidWbemLocator,
                              reinterpret_cast<void**>(&locator))))
    return;
  BSTR space = SysAllocString(L"ROOT\\CIMV2");
  IWbemServices* services = nullptr;
  if (SUCCEEDED(locator->ConnectServer(space, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                       &services))) {
    CoSetProxyBlanket(services, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                      RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    BSTR language = SysAllocString(L"WQL");
    BSTR query = SysAllocString(L"SELECT * FROM Win32_VideoController");
    IEnumWbemClassObject* objects = nullptr;
    if (SUCCEEDED(services->ExecQuery(language, query,
                                      WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                      nullptr, &objects))) {
      IWbemClassObject* object = nullptr;
      ULONG count = 0;
      while (objects->Next(5000, 1, &object, &count) == S_OK && count == 1) {
        VARIANT value;
        VariantInit(&value);
        if (SUCCEEDED(object->Get(L"AdapterRAM", 0, &value, nullptr, nullptr)) && value.vt == VT_I4)
          videoMemory = value.ulVal;
        VariantClear(&value);
        object->Release();
      }
      objects->Release();
    }
    SysFreeString(query);
    SysFreeString(language);
    services->Release();
  }
  SysFreeString(space);
  locator->Release();
}

// The video-memory query first finds the WMI controller of the chosen
// monitor: DirectDraw names the monitor's display device, and
// EnumDisplayDevices gives that device's ID.
HMONITOR wantedMonitor = nullptr;
char wantedDevice[512] = {};
BOOL WINAPI RememberDevice(GUID*, LPSTR, LPSTR driverName, LPVOID, HMONITOR monitor) {
  if (monitor == wantedMonitor && driverName != nullptr)
    lstrcpynA(wantedDevice, driverName, sizeof(wantedDevice));
  return TRUE;
}

volatile DWORD deviceIdLength = 0;
void LookUpDisplayDevice() {
  const POINT origin{0, 0};
  wantedMonitor = MonitorFromPoint(origin, MONITOR_DEFAULTTOPRIMARY);
  wantedDevice[0] = 0;
  HMODULE ddraw = SystemLibrary(L"ddraw.dll");
  if (ddraw == nullptr) return;
  using EnumerateFn = HRESULT(WINAPI*)(LPDDENUMCALLBACKEXA, LPVOID, DWORD);
  if (auto enumerate = Entry<EnumerateFn>(ddraw, "DirectDrawEnumerateExA"))
    enumerate(RememberDevice, nullptr, DDENUM_ATTACHEDSECONDARYDEVICES);
  FreeLibrary(ddraw);
  DISPLAY_DEVICEA device{};
  device.cb = sizeof(device);
  for (DWORD index = 0; EnumDisplayDevicesA(nullptr, index, &device, 0); ++index) {
    if (lstrcmpiA(device.DeviceName, wantedDevice) == 0)
      deviceIdLength = static_cast<DWORD>(lstrlenA(device.DeviceID));
  }
}

void QueryVideoMemoryByDirectDraw() {
  HMODULE ddraw = SystemLibrary(L"ddraw.dll");
  if (ddraw == nullptr) return;
  using CreateFn = HRESULT(WINAPI*)(GUID*, LPVOID*, REFIID, IUnknown*);
  IDirectDraw7* draw = nullptr;
  if (auto create = Entry<CreateFn>(ddraw, "DirectDrawCreateEx");
      create != nullptr &&
      SUCCEEDED(create(nullptr, reinterpret_cast<void**>(&draw), kIidDirectDraw7, nullptr))) {
    DDSCAPS2 caps{};
    caps.dwCaps = DDSCAPS_VIDEOMEMORY;
    DWORD total = 0;
    if (SUCCEEDED(draw->GetAvailableVidMem(&caps, &total, nullptr))) videoMemory = total;
    draw->Release();
  }
  FreeLibrary(ddraw);
}

void ProbeDirect3D9() {
  HMODULE d3d9 = SystemLibrary(L"d3d9.dll");
  if (d3d9 == nullptr) return;
  using CreateFn = IDirect3D9*(WINAPI*)(UINT);
  if (auto create = Entry<CreateFn>(d3d9, "Direct3DCreate9")) {
    if (IDirect3D9* direct3d = create(D3D_SDK_VERSION)) {
      for (UINT adapter = 0; adapter < direct3d->GetAdapterCount(); ++adapter) {
        D3DADAPTER_IDENTIFIER9 identifier{};
        direct3d->GetAdapterIdentifier(adapter, 0, &identifier);
        D3DCAPS9 caps{};
        direct3d->GetDeviceCaps(adapter, D3DDEVTYPE_HAL, &caps);
        direct3d->GetAdapterMonitor(adapter);
      }
      direct3d->Release();
    }
  }
  FreeLibrary(d3d9);
}

void ProbeDirect3D11() {
  HMODULE d3d11 = SystemLibrary(L"d3d11.dll");
  if (d3d11 == nullptr) return;
  if (auto create = Entry<PFN_D3D11_CREATE_DEVICE>(d3d11, "D3D11CreateDevice")) {
    ID3D11Device* device = nullptr;
    if (SUCCEEDED(create(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, nullptr, 0,
                         D3D11_SDK_VERSION, &device, nullptr, nullptr))) {
      for (UINT count = 2; count <= 16; count *= 2) {
        UINT levels = 0;
        device->CheckMultisampleQualityLevels(DXGI_FORMAT_R8G8B8A8_UNORM, count, &levels);
      }
      device->Release();
    }
  }
  FreeLibrary(d3d11);
}

void DoTheHardwareWork() {
  ProbeDirect3D9();
  LookUpDisplayDevice();
  QueryVideoMemoryByWmi();
  QueryVideoMemoryByDirectDraw();
  MeasureClock();
  ProbeDirect3D11();
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      DoTheHardwareWork();
      SetWindowTextW(dialog, kFinalTitle);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == kRestoreId) {
        DoTheHardwareWork();
        return TRUE;
      }
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    case WM_CLOSE:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    default:
      return FALSE;
  }
}

// An in-memory template: the dialog, an OK button and the restore button.
class DialogTemplate {
 public:
  DialogTemplate() {
    DLGTEMPLATE head{};
    head.style = DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    head.cdit = 2;
    head.cx = 200;
    head.cy = 80;
    Append(&head, sizeof(head));
    Word(0);  // no menu
    Word(0);  // the standard class
    Text(kTemplateTitle);
    Button(IDOK, L"OK", 140, 58);
    Button(kRestoreId, L"Restore Defaults", 10, 58);
  }
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()); }

 private:
  void Append(const void* data, std::size_t size) {
    const auto* first = static_cast<const unsigned char*>(data);
    bytes_.insert(bytes_.end(), first, first + size);
  }
  void Word(WORD value) { Append(&value, sizeof(value)); }
  void Text(const wchar_t* text) { Append(text, (lstrlenW(text) + 1) * sizeof(wchar_t)); }
  void Button(WORD id, const wchar_t* text, short x, short y) {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    DLGITEMTEMPLATE item{};
    item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    item.x = x;
    item.y = y;
    item.cx = 60;
    item.cy = 14;
    item.id = id;
    Append(&item, sizeof(item));
    Word(0xFFFF);
    Word(0x0080);  // button
    Text(text);
    Word(0);  // no creation data
  }
  std::vector<unsigned char> bytes_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const HRESULT com = CoInitialize(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);
  const DialogTemplate dialog;
  DialogBoxIndirectParamW(instance, dialog.get(), nullptr, DialogProc, 0);
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
