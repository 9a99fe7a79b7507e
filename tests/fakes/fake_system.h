// Fakes of the system, process and message-box ports: scripted answers and a
// record of what the product asked for.
#pragma once

#include <cstdint>
#include <deque>
#include <set>
#include <string>
#include <vector>

#include "platform/ports.h"

namespace glimmer::fakes {

class FakeSystem : public SystemPort {
 public:
  bool wow64 = false;           // the answer of IsWow64Process
  bool hasWow64Entries = true;  // kernel32 exports GetNativeSystemInfo and IsWow64Process
  bool wow64CallSucceeds = true;
  std::set<std::u16string> existingPaths;  // compared exactly
  bool tscFaults = false;
  std::deque<std::uint64_t> tscReadings;  // each read takes the next one
  bool hasPerformanceCounter = true;
  std::int64_t frequency = 10'000'000;
  std::int64_t counter = 0;
  std::int64_t counterStep = 1000;  // each counter read advances by this much
  bool programFilesKnown = true;
  std::u16string programFiles = u"C:\\Program Files";
  bool currentDirectoryKnown = true;
  std::u16string currentDirectory = u"C:\\Users\\Tester";

  bool Kernel32HasEntry(std::string_view name) override {
    return hasWow64Entries && (name == "GetNativeSystemInfo" || name == "IsWow64Process");
  }
  bool IsWow64Process(bool& result) override {
    if (!wow64CallSucceeds) return false;
    result = wow64;
    return true;
  }
  std::uint32_t GetFileAttributes(std::u16string_view path) override {
    return existingPaths.count(std::u16string(path)) ? 0x20u : kInvalidFileAttributes;
  }
  bool ReadTimeStampCounter(std::uint64_t& value) override {
    if (tscFaults) return false;
    if (tscReadings.empty()) {
      value = 0;
    } else {
      value = tscReadings.front();
      tscReadings.pop_front();
    }
    return true;
  }
  bool QueryPerformanceFrequency(std::int64_t& value) override {
    if (!hasPerformanceCounter) return false;
    value = frequency;
    return true;
  }
  bool QueryPerformanceCounter(std::int64_t& value) override {
    counter += counterStep;
    value = counter;
    return hasPerformanceCounter;
  }
  bool GetSpecialFolderPath(int csidl, std::u16string& path) override {
    if (csidl != kCsidlProgramFiles || !programFilesKnown) return false;
    path = programFiles;
    return true;
  }
  bool GetCurrentDirectory(std::u16string& path) override {
    if (!currentDirectoryKnown) return false;
    path = currentDirectory;
    return true;
  }
};

class FakeProcesses : public ProcessPort {
 public:
  struct Start {
    std::u16string commandLine;
    std::u16string currentDirectory;
  };
  bool startSucceeds = true;
  std::vector<Start> starts;
  std::vector<std::string> calls;  // "wait:<handle>", "close:<handle>" in order

  bool CreateProcess(std::u16string_view commandLine, std::u16string_view currentDirectory,
                     ProcessHandles& started) override {
    starts.push_back({std::u16string(commandLine), std::u16string(currentDirectory)});
    if (!startSucceeds) return false;
    started.process = 0x100;
    started.thread = 0x200;
    return true;
  }
  std::uint32_t WaitForSingleObject(OsHandle handle, std::uint32_t milliseconds) override {
    calls.push_back("wait:" + std::to_string(handle) + ":" + std::to_string(milliseconds));
    return 0;
  }
  bool CloseHandle(OsHandle handle) override {
    calls.push_back("close:" + std::to_string(handle));
    return true;
  }
};

class FakeUi : public UiPort {
 public:
  struct Box {
    WindowHandle owner;
    std::u16string text;
    std::u16string caption;
    std::uint32_t style;
  };
  std::vector<Box> boxes;

  int MessageBox(WindowHandle owner, std::u16string_view text, std::u16string_view caption,
                 std::uint32_t style) override {
    boxes.push_back({owner, std::u16string(text), std::u16string(caption), style});
    return 1;  // IDOK
  }
};

}  // namespace glimmer::fakes
