// The monitor port over User32.
#pragma once

#include "platform/monitor_port.h"

namespace glimmer::win32 {

class Win32Monitors final : public MonitorPort {
 public:
  bool GetMonitorInfo(MonitorHandle monitor, MonitorInfo& info) override;
  bool EnumDisplayDevices(std::u16string_view device, std::uint32_t index,
                          DisplayDevice& out) override;
};

}  // namespace glimmer::win32
