// The modes that need the windowing platform.
#pragma once

#include "app/shell.h"
#include "win32/windows_api.h"

namespace glimmer::win32 {

class Win32ModeHost final : public ModeHost {
 public:
  explicit Win32ModeHost(HINSTANCE instance) : instance_(instance) {}

  void StartUp() override;
  void ShutDown() override;
  void Configure(std::int32_t ownerWindow) override;
  void Preview(std::int32_t parentWindow) override;
  void ChangePassword() override;

 private:
  HINSTANCE instance_;
  bool comInitialised_ = false;
};

}  // namespace glimmer::win32
