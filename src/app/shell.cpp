#include "app/shell.h"

#include "app/run_mode.h"
#include "elevation/elevated_save.h"

namespace glimmer {
namespace {

void RunRequest(const LaunchRequest& request, const Platform& platform, ModeHost& host) {
  switch (request.mode) {
    case LaunchMode::Configure:
    case LaunchMode::Preview: {
      host.StartUp();
      struct ShutDownAtEnd {
        ModeHost& host;
        ~ShutDownAtEnd() { host.ShutDown(); }
      } shutDown{host};
      if (request.mode == LaunchMode::Configure) {
        host.Configure(request.windowNumber);
      } else {
        host.Preview(request.windowNumber);
      }
      break;
    }
    case LaunchMode::Run:
      RunMainProgram(platform.registry, platform.system, platform.processes, platform.ui);
      break;
    case LaunchMode::ChangePassword:
      host.ChangePassword();
      break;
    case LaunchMode::Quit:
      break;
  }
}

}  // namespace

int RunShell(std::u16string_view commandLine, const Platform& platform, ModeHost& host) {
  // The elevated instance is recognised by its one exact command line, before
  // the screensaver options: every other line keeps its meaning.
  const std::optional<std::u16string> token = ElevatedSaveToken(commandLine);
  try {
    if (token)
      return RunElevatedSave(*token, platform.elevation, platform.registry, platform.system);
    RunRequest(ParseCommandLine(commandLine), platform, host);
  } catch (...) {
    // Nothing may escape a mode: the screensaver machinery only sees the exit code.
    if (token) return kElevatedSaveNotWritten;
  }
  return 0;
}

}  // namespace glimmer
