// The display inventory a settings dialog takes at its start: usable adapters,
// their full-screen modes and their monitors.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/node.h"
#include "platform/direct3d9_port.h"
#include "platform/hresult.h"
#include "platform/monitor_port.h"
#include "platform/product.h"

namespace glimmer {

// The dialog's AcceptDevice hook: may a device with these caps, vertex
// processing flag and display format be used? Success (kSOk) accepts.
using AcceptDeviceHook = std::function<HResult(const D3dCaps& caps, std::uint32_t vertexProcessing,
                                               std::int32_t format)>;

// Capacities of the inventory. Only nine adapters can be recorded: the monitor
// list, which pairs with the adapter list, has room for nine.
inline constexpr std::uint32_t kAdapterRecords = 10;
inline constexpr auto kMonitorRecords = static_cast<std::uint32_t>(kMostMonitors);
inline constexpr std::uint32_t kDeviceRecords = 5;
inline constexpr std::uint32_t kModeRecords = 150;
inline constexpr std::uint32_t kFormatListCapacity = 20;
inline constexpr std::uint32_t kModeListCapacity = 100;
// Monitor texts hold this many code units with their terminator.
inline constexpr std::uint32_t kMonitorTextCapacity = 128;

struct ModeRecord {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::int32_t format = kD3dFmtUnknown;
  std::uint32_t vertexProcessing = 0;
  std::int32_t depthStencilFormat = kD3dFmtUnknown;
};

struct DeviceRecord {
  std::uint32_t deviceType = kD3dDevTypeHal;
  D3dCaps caps;
  const char16_t* typeName = u"HAL";
  bool desktopFormatUsable = false;
  std::uint32_t modeCount = 0;
  std::array<ModeRecord, kModeRecords> modes{};
  std::uint32_t currentMode = 0;
  bool windowed = false;
  std::uint32_t multisampleType = 0;
};

struct AdapterRecord {
  D3dAdapterIdentifier identifier;
  D3dDisplayMode desktopMode;
  std::uint32_t deviceCount = 0;
  std::array<DeviceRecord, kDeviceRecords> devices{};
  std::uint32_t currentDevice = 0;
};

struct MonitorRecord {
  std::u16string description;  // at most kMonitorTextCapacity - 1 units
  std::u16string displayName;  // at most kMonitorTextCapacity - 1 units
  MonitorHandle monitor = 0;
  ScreenRect desktopRect;
  std::int32_t adapterLink = -1;
};

class DisplayInventory {
 public:
  DisplayInventory(Direct3D9Port& direct3d9, MonitorPort& monitors);
  ~DisplayInventory();
  DisplayInventory(const DisplayInventory&) = delete;
  DisplayInventory& operator=(const DisplayInventory&) = delete;

  // Builds the inventory; kSOk when at least one adapter was recorded, else
  // kEFail. settings supplies the saved monitor and mode to preselect.
  HResult EnumerateDisplayAdapters(Node& settings, const AcceptDeviceHook& accept);

  // The Direct3D adapter query that loading the settings starts with.
  void QueryFirstAdapter();

  // The desktop mode Direct3D reports now for an adapter ordinal; all zeros
  // when there is no Direct3D or no such adapter.
  D3dDisplayMode DesktopModeNow(std::uint32_t ordinal);

  // Position of mode (width, height and format; refresh ignored) among the
  // modes of adapter record `adapter`; 0 when there is none, also for an
  // index past the records.
  std::uint32_t FindModeIndex(std::uint32_t adapter, const D3dDisplayMode& mode) const;

  std::uint32_t AdapterCount() const { return adapterCount_; }
  std::uint32_t MonitorCount() const { return monitorCount_; }
  // The recorded adapter or monitor at index; null past the records in use.
  const AdapterRecord* Adapter(std::uint32_t index) const;
  const MonitorRecord* Monitor(std::uint32_t index) const;
  // The first device of a recorded adapter, null when there is none.
  const DeviceRecord* FirstDevice(std::uint32_t adapter) const;
  // Makes mode the first device's current mode; false (nothing changed) when
  // the adapter or the mode is not recorded.
  bool SetCurrentMode(std::uint32_t adapter, std::uint32_t mode);
  // Adapter 0's HAL caps.
  const D3dCaps& FirstAdapterCaps() const { return firstAdapterCaps_; }

  // The first of D32, D24X8, D24S8, D24X4S4, D16 that is a depth/stencil
  // surface format for format and fits a render target of it.
  static bool PickDepthStencilFormat(Direct3D9& direct3d, std::uint32_t adapter,
                                     std::uint32_t deviceType, std::int32_t format,
                                     std::int32_t& depthStencilFormat);

 private:
  bool RecordAdapter(Direct3D9& direct3d, std::uint32_t ordinal, Node& settings,
                     const AcceptDeviceHook& accept);
  void RecordMonitor(Direct3D9& direct3d, std::uint32_t ordinal);
  void Clear();

  Direct3D9Port& direct3d9_;
  MonitorPort& monitors_;
  D3dCaps firstAdapterCaps_;
  // On the heap: the records take some hundred kilobytes and the dialog that
  // owns the inventory may live on the stack.
  std::vector<AdapterRecord> adapters_;
  std::uint32_t adapterCount_ = 0;
  std::vector<MonitorRecord> monitorRecords_;
  std::uint32_t monitorCount_ = 0;
};

// Keeps one Direct3D object alive across a run of queries (the dialog's
// start, "Restore Defaults"): while it lives, the port hands the same object
// to every query, so the adapter list is set up once for the run.
class Direct3D9Hold {
 public:
  explicit Direct3D9Hold(Direct3D9Port& direct3d9)
      : held_(direct3d9.Direct3DCreate9(kD3dSdkVersion)) {}

 private:
  std::unique_ptr<Direct3D9> held_;
};

// text cut to at most capacity - 1 code units, never inside a surrogate pair.
std::u16string CutToCapacity(std::u16string_view text, std::size_t capacity);

}  // namespace glimmer
