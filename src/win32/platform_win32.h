// The Win32 adapters of every port, installed for the lifetime of the object.
#pragma once

#include "platform/ports.h"
#include "win32/registry_win32.h"
#include "win32/resources_win32.h"
#include "win32/system_win32.h"
#include "win32/windows_win32.h"

namespace glimmer::win32 {

class Win32Platform {
 public:
  Win32Platform()
      : installed_(Ports{&registry_, &system_, &processes_, &ui_, &windows_, &resources_}) {}

 private:
  Win32Registry registry_;
  Win32System system_;
  Win32Processes processes_;
  Win32Ui ui_;
  Win32Windows windows_;
  Win32Resources resources_;
  ScopedPorts installed_;
};

}  // namespace glimmer::win32
