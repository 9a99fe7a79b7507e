// The window system's monitors in memory: monitor handles with their
// rectangle and display device name, and the monitors attached to each
// display device.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "fakes/fake_direct3d9.h"
#include "platform/monitor_port.h"

namespace glimmer::fakes {

class FakeMonitors final : public MonitorPort {
 public:
  std::map<MonitorHandle, MonitorInfo> monitors;
  // By display device name (compared without case): its attached monitors in order.
  std::map<std::u16string, std::vector<DisplayDevice>> attached;

  // A monitor at rect on device, with one attached monitor device named name
  // whose state flags are stateFlags.
  void Add(MonitorHandle handle, ScreenRect rect, std::u16string device, std::u16string name,
           std::uint32_t stateFlags);

  // One monitor per adapter, side by side at its desktop size, on the display
  // device the adapter names, with an active attached monitor "Monitor n".
  void AddForAdapters(const std::vector<FakeD3dAdapter>& adapters);

  bool GetMonitorInfo(MonitorHandle monitor, MonitorInfo& info) override;
  bool EnumDisplayDevices(std::u16string_view device, std::uint32_t index,
                          DisplayDevice& out) override;

  int infoCalls = 0;
  int enumCalls = 0;
};

}  // namespace glimmer::fakes
