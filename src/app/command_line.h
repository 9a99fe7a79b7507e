// The process's command line, reduced to one request: which mode to run and
// the window number written after the option letter.
#pragma once

#include <cstdint>
#include <string_view>

namespace glimmer {

enum class LaunchMode { Configure, Preview, Run, Quit, ChangePassword };

struct LaunchRequest {
  LaunchMode mode = LaunchMode::Configure;
  std::int32_t windowNumber = 0;  // owner or parent window handle; 0 when absent
};

// line is the whole command line with the program's own path as its first
// token, as GetCommandLineW gives it. Every line maps to a request.
LaunchRequest ParseCommandLine(std::u16string_view line);

}  // namespace glimmer
