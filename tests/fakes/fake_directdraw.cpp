#include "fakes/fake_directdraw.h"

#include <memory>

namespace glimmer::fakes {
namespace {

class FakeDirectDraw7 final : public DirectDraw7 {
 public:
  FakeDirectDraw7(FakeDirectDraw& port, std::shared_ptr<const bool> libraryLoaded)
      : port_(port), libraryLoaded_(std::move(libraryLoaded)) {
    ++port_.objectsCreated;
  }
  FakeDirectDraw7(const FakeDirectDraw7&) = delete;
  FakeDirectDraw7& operator=(const FakeDirectDraw7&) = delete;
  ~FakeDirectDraw7() override {
    ++port_.objectsReleased;
    if (*libraryLoaded_) ++port_.releasedWhileLoaded;
  }
  HResult GetAvailableVidMem(const DdsCaps2& caps, std::uint32_t* total,
                             std::uint32_t* free) override {
    port_.vidMemCaps.push_back(caps);
    port_.freeAsked.push_back(free != nullptr);
    if (port_.vidMemResult < 0) return port_.vidMemResult;
    if (total != nullptr) *total = port_.totalVideoMemory;
    if (free != nullptr) *free = port_.freeVideoMemory;
    return kSOk;
  }

 private:
  FakeDirectDraw& port_;
  std::shared_ptr<const bool> libraryLoaded_;
};

class FakeDirectDrawModule final : public DirectDrawModule {
 public:
  explicit FakeDirectDrawModule(FakeDirectDraw& port) : port_(port) { ++port_.loads; }
  FakeDirectDrawModule(const FakeDirectDrawModule&) = delete;
  FakeDirectDrawModule& operator=(const FakeDirectDrawModule&) = delete;
  ~FakeDirectDrawModule() override {
    ++port_.frees;
    // An object still alive now would call into unloaded code; its later
    // release is then not counted as made while loaded.
    *loaded_ = false;
  }
  bool HasEntry(std::string_view name) override {
    return (name == kDirectDrawEnumerateExA && port_.hasEnumerate) ||
           (name == kDirectDrawCreateEx && port_.hasCreate);
  }
  HResult DirectDrawEnumerateExA(const DeviceVisitor& visit, std::uint32_t flags) override {
    if (!port_.hasEnumerate) return kEFail;
    port_.enumerationFlags.push_back(flags);
    for (const DirectDrawDeviceInfo& device : port_.devices) {
      if (device.hasGuid && (flags & kDdEnumAttachedSecondaryDevices) == 0) continue;
      if (!visit(device)) break;
    }
    return kSOk;
  }
  HResult DirectDrawCreateEx(std::unique_ptr<DirectDraw7>& object) override {
    if (!port_.hasCreate) return kEFail;
    if (port_.createResult < 0) return port_.createResult;
    object = std::make_unique<FakeDirectDraw7>(port_, loaded_);
    return kSOk;
  }

 private:
  FakeDirectDraw& port_;
  // Shared with the objects, which may outlive the module.
  std::shared_ptr<bool> loaded_ = std::make_shared<bool>(true);
};

}  // namespace

FakeDirectDraw::FakeDirectDraw() {
  DirectDrawDeviceInfo primary;
  primary.description = "Primary Display Driver";
  primary.driverName = "display";
  devices.push_back(primary);
  devices.push_back(MonitorDevice(1, 0x10001));
}

FakeDirectDraw::~FakeDirectDraw() = default;

std::unique_ptr<DirectDrawModule> FakeDirectDraw::LoadDirectDraw() {
  if (!libraryLoads) return nullptr;
  return std::make_unique<FakeDirectDrawModule>(*this);
}

DirectDrawDeviceInfo FakeDirectDraw::MonitorDevice(int number, MonitorHandle monitor) {
  DirectDrawDeviceInfo device;
  device.hasGuid = true;
  device.guid = Guid{0x67685559u + static_cast<std::uint32_t>(number),
                     0x3106,
                     0x11D0,
                     {0xB9, 0x71, 0x00, 0xAA, 0x00, 0x34, 0x2F, 0x9F}};
  device.description = "Fake Display Adapter";
  device.driverName = "\\\\.\\DISPLAY" + std::to_string(number);
  device.monitor = monitor;
  return device;
}

}  // namespace glimmer::fakes
