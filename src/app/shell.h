// One pass of the program: parse, run exactly one mode, end.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/command_line.h"
#include "platform/platform.h"

namespace glimmer {

// The modes that need the windowing platform, and the start-up they share.
class ModeHost {
 public:
  virtual ~ModeHost() = default;
  // COM, the common controls and the dialog module, in that order.
  virtual void StartUp() = 0;
  // The reverse of StartUp.
  virtual void ShutDown() = 0;
  virtual void Configure(std::int32_t ownerWindow) = 0;
  virtual void Preview(std::int32_t parentWindow) = 0;
  virtual void ChangePassword() = 0;
};

// Runs the mode the command line asks for: the run mode here over the
// platform's ports, the others through host. Never throws: a failure inside a
// mode ends that mode, and the process still exits with code 0. Returns the
// exit code: 0, but for the elevated instance that saves for a standard user,
// which tells success (0) from failure.
int RunShell(std::u16string_view commandLine, const Platform& platform, ModeHost& host);

}  // namespace glimmer
