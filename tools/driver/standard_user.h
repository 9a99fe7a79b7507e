// A program started the way a standard user's process runs, with a token
// whose Administrators group is deny-only, so that a key writable only by
// the Administrators refuses it. The start is debugged, so that every process
// it starts in turn (under Wine a "runas" start keeps the same token) is
// seen with its command line before it runs. With Consent::Granted, the
// shell's elevated instance runs as after a granted UAC prompt: the held
// child's command line is run with this process's full token, and the child
// is ended with that run's exit code, which is all its starter sees.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "driver/driver.h"

namespace glimmer::driver {

class StandardUserProcess {
 public:
  enum class Consent { NotGiven, Granted };
  StandardUserProcess(const std::wstring& program, const std::wstring& arguments,
                      Consent consent = Consent::NotGiven);
  ~StandardUserProcess();
  StandardUserProcess(const StandardUserProcess&) = delete;
  StandardUserProcess& operator=(const StandardUserProcess&) = delete;

  bool Started() const { return processId_ != 0; }
  DWORD ProcessId() const { return processId_; }
  // A handle of the process of its own, to wait for and read the exit code of.
  OwnedHandle Process() const;
  // The command lines of the processes it started, in the order they started.
  std::vector<std::wstring> StartedCommandLines() const;

 private:
  void Debug(std::wstring line);
  void Grant(const std::wstring& line, DWORD processId);

  Consent consent_;
  std::thread thread_;
  mutable std::mutex mutex_;
  std::condition_variable ready_;
  bool done_ = false;
  DWORD processId_ = 0;
  HANDLE process_ = nullptr;  // owned by the debugging thread
  std::vector<std::wstring> started_;
};

// Offers request (a save request's bytes) as the user's instance does and runs
// the elevated instance on it with this process's own full token, standing
// in for a granted UAC prompt; the run with its exit code.
ShellRun RunElevatedInstance(const std::vector<std::uint8_t>& request);

}  // namespace glimmer::driver
