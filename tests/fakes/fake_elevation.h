// The elevated instance in memory: ShellExecuteExW's "runas" recorded and
// answered as scripted (a declined prompt, a start that fails), the
// instance's run played by a hook of the test, named file mappings that live
// while their handle is open, and random numbers that never repeat.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/elevation_port.h"

namespace glimmer::fakes {

class FakeElevation : public ElevationPort {
 public:
  // Handles come from the processes, which wait for and close them.
  explicit FakeElevation(FakeProcesses& processes) : processes_(processes) {}

  struct RunAs {
    std::uint32_t mask = 0;
    WindowHandle owner = 0;
    std::u16string file;
    std::u16string parameters;
  };

  bool moduleKnown = true;
  std::u16string modulePath = u"C:\\Windows\\System32\\Glimmerdale.scr";
  // What ShellExecuteExW answers: kErrorCancelled for a declined prompt.
  long runAsResult = kErrorSuccess;
  // The started instance's run, its exit code; without one it writes nothing
  // and ends with 1, a failure.
  std::function<std::uint32_t(const RunAs&)> elevated;
  // What waiting for the instance answers (kWaitTimeout: it never ends).
  std::uint32_t elevatedWait = kWaitObject0;
  bool randomFails = false;
  // Files that do not exist: starting one fails with ERROR_FILE_NOT_FOUND.
  std::set<std::u16string> missingFiles;

  std::vector<RunAs> starts;

  // The named mappings made and not yet gone, for checks.
  bool HasMapping(std::u16string_view name) const;

  bool GetModuleFileName(std::u16string& path) override;
  long ShellExecuteRunAs(std::uint32_t mask, WindowHandle owner, std::u16string_view file,
                         std::u16string_view parameters, OsHandle& process) override;
  bool GetExitCodeProcess(OsHandle process, std::uint32_t& code) override;
  long CreateSharedMemory(std::u16string_view name, const std::vector<std::uint8_t>& bytes,
                          OsHandle& section) override;
  long ReadSharedMemory(std::u16string_view name, std::size_t maxSize,
                        std::vector<std::uint8_t>& bytes) override;
  bool GenerateRandom(std::uint8_t* buffer, std::uint32_t size) override;

 private:
  struct Mapping {
    OsHandle handle = 0;
    std::vector<std::uint8_t> bytes;
  };
  // A mapping exists while the handle it was made with is open.
  const Mapping* Live(std::u16string_view name) const;

  FakeProcesses& processes_;
  std::map<std::u16string, Mapping> mappings_;
  std::map<OsHandle, std::uint32_t> exitCodes_;
  std::uint32_t randomCalls_ = 0;
};

}  // namespace glimmer::fakes
