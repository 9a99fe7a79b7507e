// DirectDraw with scripted devices and video memory, counting loads and frees
// of ddraw.dll and the objects created and released.
#pragma once

#include <string>
#include <vector>

#include "platform/directdraw_port.h"

namespace glimmer::fakes {

class FakeDirectDraw : public DirectDrawPort {
 public:
  // One adapter with one monitor (0x10001): the primary display driver with
  // its null GUID, then the monitor's own device, as DirectDraw lists them.
  FakeDirectDraw();
  ~FakeDirectDraw() override;

  // Every device, primary driver first. Without kDdEnumAttachedSecondaryDevices
  // only those without a GUID are reported.
  std::vector<DirectDrawDeviceInfo> devices;

  bool libraryLoads = true;
  bool hasEnumerate = true;
  bool hasCreate = true;
  HResult createResult = kSOk;
  HResult vidMemResult = kSOk;
  std::uint32_t totalVideoMemory = 256u << 20;
  std::uint32_t freeVideoMemory = 200u << 20;

  int loads = 0;  // successful loads of ddraw.dll
  int frees = 0;
  int objectsCreated = 0;
  int objectsReleased = 0;
  int releasedWhileLoaded = 0;  // objects released before their library was freed
  std::vector<std::uint32_t> enumerationFlags;
  std::vector<DdsCaps2> vidMemCaps;
  std::vector<bool> freeAsked;  // per GetAvailableVidMem: was a free pointer passed

  std::unique_ptr<DirectDrawModule> LoadDirectDraw() override;

  // A monitor's own device: GUID, "\\.\DISPLAYn" driver name, its HMONITOR.
  static DirectDrawDeviceInfo MonitorDevice(int number, MonitorHandle monitor);
};

}  // namespace glimmer::fakes
