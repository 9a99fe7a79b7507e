// Fakes of the system, process and message-box ports: scripted answers and a
// record of what the product asked for.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports.h"

namespace glimmer::fakes {

// Orders paths as the file system tells them apart: letters in either case
// and the two separators name the same object.
struct PathLess {
  static char16_t Fold(char16_t unit) {
    if (unit == u'/') return u'\\';
    if ((unit >= u'a' && unit <= u'z') || (unit >= 0xE0 && unit <= 0xFE && unit != 0xF7) ||
        (unit >= 0x430 && unit <= 0x44F))
      return static_cast<char16_t>(unit - 0x20);
    if (unit >= 0x450 && unit <= 0x45F) return static_cast<char16_t>(unit - 0x50);
    return unit;
  }
  bool operator()(std::u16string_view a, std::u16string_view b) const {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i)
      if (Fold(a[i]) != Fold(b[i])) return Fold(a[i]) < Fold(b[i]);
    return a.size() < b.size();
  }
  using is_transparent = void;
};

class FakeSystem : public SystemPort {
 public:
  bool wow64 = false;           // the answer of IsWow64Process
  bool hasWow64Entries = true;  // kernel32 exports GetNativeSystemInfo and IsWow64Process
  bool wow64CallSucceeds = true;
  // Files and folders, found whatever the case of their letters (ASCII,
  // Latin-1 and Cyrillic) and whichever separator a path uses.
  std::set<std::u16string, PathLess> existingPaths;
  bool tscFaults = false;
  std::deque<std::uint64_t> tscReadings;  // each read takes the next one
  bool hasPerformanceCounter = true;
  std::int64_t frequency = 10'000'000;
  std::int64_t counter = 0;
  std::int64_t counterStep = 1000;  // each counter read advances by this much
  std::int64_t counterStopsAt = std::numeric_limits<std::int64_t>::max();  // then stands still
  bool counterReadFails = false;  // the frequency is known, every counter read fails
  std::int64_t counterReads = 0;
  bool programFilesKnown = true;
  int specialFolderQueries = 0;
  std::u16string programFiles = u"C:\\Program Files";
  bool is64BitProcess = false;  // the 64-bit build on 64-bit Windows
  std::u16string programFilesX86 = u"C:\\Program Files (x86)";
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
    return existingPaths.count(path) ? 0x20u : kInvalidFileAttributes;
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
    ++counterReads;
    if (!hasPerformanceCounter || counterReadFails) return false;
    counter = std::min(counter + counterStep, std::max(counter, counterStopsAt));
    value = counter;
    return true;
  }
  bool GetSpecialFolderPath(int csidl, std::u16string& path) override {
    ++specialFolderQueries;
    if (!programFilesKnown) return false;
    if (csidl == kCsidlProgramFiles) {
      path = programFiles;
    } else if (csidl == kCsidlProgramFilesX86) {
      path = programFilesX86;
    } else {
      return false;
    }
    return true;
  }
  bool Is64BitProcess() override { return is64BitProcess; }
  bool GetCurrentDirectory(std::u16string& path) override {
    if (!currentDirectoryKnown) return false;
    path = currentDirectory;
    return true;
  }
};

// Started programs end at once: their handles are signalled from the start.
class FakeProcesses : public ProcessPort {
 public:
  struct Start {
    std::u16string commandLine;
    std::u16string currentDirectory;
  };
  bool startSucceeds = true;
  std::set<std::u16string> missingPrograms;  // command lines that start nothing
  std::vector<Start> starts;
  std::vector<std::string> calls;  // "wait:<handle>:<ms>", "close:<handle>" in order

  bool CreateProcess(std::u16string_view commandLine, std::u16string_view currentDirectory,
                     ProcessHandles& started) override {
    starts.push_back({std::u16string(commandLine), std::u16string(currentDirectory)});
    if (!startSucceeds || missingPrograms.count(std::u16string(commandLine))) return false;
    // Every start has handles of its own: the first 0x100 and 0x200, then on.
    started.process = 0x100 + 4 * startCount_;
    started.thread = 0x200 + 4 * startCount_;
    ++startCount_;
    open_.insert(started.process);
    open_.insert(started.thread);
    return true;
  }
  std::uint32_t WaitForSingleObject(OsHandle handle, std::uint32_t milliseconds) override {
    calls.push_back("wait:" + std::to_string(handle) + ":" + std::to_string(milliseconds));
    if (!open_.count(handle)) return kWaitFailed;
    const auto scripted = waitResults_.find(handle);
    return scripted != waitResults_.end() ? scripted->second : kWaitObject0;
  }
  bool CloseHandle(OsHandle handle) override {
    calls.push_back("close:" + std::to_string(handle));
    return open_.erase(handle) == 1;
  }
  std::size_t OpenHandleCount() const { return open_.size(); }

  // A handle that another port hands out (a process started otherwise, a
  // file mapping), open until closed here; waiting on it answers waitResult.
  OsHandle OpenHandle(std::uint32_t waitResult = kWaitObject0) {
    const OsHandle handle = 0x8000 + 4 * otherHandles_++;
    open_.insert(handle);
    waitResults_[handle] = waitResult;
    return handle;
  }
  bool IsOpen(OsHandle handle) const { return open_.count(handle) != 0; }

 private:
  std::map<OsHandle, std::uint32_t> waitResults_;
  OsHandle otherHandles_ = 0;
  std::set<OsHandle> open_;
  OsHandle startCount_ = 0;
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

  static constexpr CursorHandle kArrow = 0xC1, kWait = 0xC2;
  CursorHandle cursor = kArrow;
  // Called after every cursor change, to see what the product does meanwhile.
  std::function<void()> onCursorChange;
  CursorHandle ShowWaitCursor() override {
    const CursorHandle previous = cursor;
    SetCursor(kWait);
    return previous;
  }
  void SetCursor(CursorHandle next) override {
    cursor = next;
    if (onCursorChange) onCursorChange();
  }
};

}  // namespace glimmer::fakes
