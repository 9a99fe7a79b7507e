// The WMI port over COM: ole32/oleaut32 and the WMI locator.
#pragma once

#include "platform/wmi_port.h"

namespace glimmer::win32 {

class Win32Wmi final : public WmiPort {
 public:
  HResult CoInitialize() override;
  void CoUninitialize() override;
  HResult CreateWbemLocator(std::unique_ptr<WbemLocator>& locator) override;
  std::unique_ptr<ProxyBlanketEntry> LoadCoSetProxyBlanket() override;
};

}  // namespace glimmer::win32
