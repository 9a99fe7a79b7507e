// Command-line front of the driver, for trying the shell by hand:
//   driver run PROGRAM [ARGUMENTS...]
// starts PROGRAM, answers its message boxes with OK, and prints each box and
// the exit code as UTF-8 lines;
//   driver preview PROGRAM [WIDTH HEIGHT [RUNS]]
// times the shell's preview in a box of the driver's own (driver/preview_box.h);
//   driver show-preview PROGRAM [SECONDS]
// shows it as the control panel does, until closed or for SECONDS;
//   driver dialog PROGRAM TITLE [RUNS [BUTTON]]
// times a program until its dialog shows TITLE, and a click of BUTTON.
#include <cstdio>
#include <string>

#include "driver/dialog_timing.h"
#include "driver/driver.h"
#include "driver/preview_box.h"

int wmain(int argc, wchar_t** argv) {
  using namespace glimmer::driver;
  if (argc >= 2 && std::wstring(argv[1]) == L"preview") return PreviewMain(argc, argv);
  if (argc >= 2 && std::wstring(argv[1]) == L"show-preview") return ShowPreviewMain(argc, argv);
  if (argc >= 2 && std::wstring(argv[1]) == L"dialog") return DialogMain(argc, argv);
  if (argc < 3 || std::wstring(argv[1]) != L"run") {
    std::fprintf(stderr, "usage: driver run PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  std::wstring arguments;
  for (int i = 3; i < argc; ++i) arguments += (i > 3 ? L" " : L"") + std::wstring(argv[i]);
  const ShellRun run = RunAndAnswer(argv[2], arguments, L"", std::chrono::minutes(10));
  for (const auto& box : run.boxes)
    std::printf("box: %s | %s\n", ToUtf8(box.caption).c_str(), ToUtf8(box.text).c_str());
  if (!run.started) {
    std::printf("not started\n");
    return 1;
  }
  std::printf(run.exited ? "exit: %lu\n" : "still running after the limit\n",
              static_cast<unsigned long>(run.exitCode));
  return run.exited ? 0 : 1;
}
