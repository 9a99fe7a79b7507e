#include "driver/dialog_timing.h"

#include <algorithm>
#include <cstdio>
#include <thread>

#include "driver/driver.h"
#include "driver/preview_box.h"

namespace glimmer::driver {
namespace {

using Clock = std::chrono::steady_clock;

struct TitleSearch {
  DWORD processId;
  const std::wstring* title;
  HWND found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM context) {
  auto& search = *reinterpret_cast<TitleSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search.processId || !IsWindowVisible(window)) return TRUE;
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770") return TRUE;
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), length + 1)));
  if (text != *search.title) return TRUE;
  search.found = window;
  return FALSE;
}

}  // namespace

HWND DialogTitled(DWORD processId, const std::wstring& title) {
  TitleSearch search{processId, &title, nullptr};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

double MedianOf(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::optional<DialogTiming> TimeDialog(const std::wstring& program, const std::wstring& arguments,
                                       const std::wstring& title, std::optional<int> clickId,
                                       std::chrono::milliseconds limit) {
  const auto start = Clock::now();
  StartedProcess started = StartProcess(program, arguments);
  if (!started.process) return std::nullopt;
  HANDLE process = started.process.get();
  HWND dialog = nullptr;
  // Polled rather than hooked: a hook would slow the program being timed.
  while (dialog == nullptr && Clock::now() - start < limit &&
         WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
    dialog = DialogTitled(started.id, title);
    if (dialog == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  std::optional<DialogTiming> timing;
  if (dialog != nullptr) {
    timing = DialogTiming{Milliseconds(Clock::now() - start), std::nullopt};
    DWORD_PTR ignored = 0;
    if (clickId) {
      const auto clicked = Clock::now();
      // Sent, not posted: a sent message returns once the button has handled
      // the click, including the command it sends the dialog. (A posted click
      // followed by a sent WM_NULL would be overtaken: sent messages go first.)
      SendMessageTimeoutW(GetDlgItem(dialog, *clickId), BM_CLICK, 0, 0, SMTO_NORMAL,
                          static_cast<UINT>(limit.count()), &ignored);
      timing->clickHandled = Milliseconds(Clock::now() - clicked);
    }
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  if (WaitForSingleObject(process, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) {
    TerminateProcess(process, 255);
    WaitForSingleObject(process, 5000);
    return std::nullopt;
  }
  return timing;
}

int DialogMain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: driver dialog PROGRAM TITLE [RUNS [BUTTON]]\n");
    return 2;
  }
  const int runs = argc > 4 ? std::max(1, _wtoi(argv[4])) : 1;
  const std::optional<int> button = argc > 5 ? std::optional<int>(_wtoi(argv[5])) : std::nullopt;
  std::vector<double> shown;
  std::vector<double> handled;
  for (int run = 0; run < runs; ++run) {
    const auto timing = TimeDialog(argv[2], L"", argv[3], button, std::chrono::seconds(60));
    if (!timing) {
      std::printf("run %d: the titled dialog did not show, or the program did not end\n", run + 1);
      return 1;
    }
    shown.push_back(timing->shownMs);
    std::printf("run %d: title after %.0f ms", run + 1, timing->shownMs);
    if (timing->clickHandled) {
      handled.push_back(*timing->clickHandled);
      std::printf(", click handled after %.0f ms", *timing->clickHandled);
    }
    std::printf("\n");
  }
  std::printf("median: title after %.0f ms", MedianOf(shown));
  if (!handled.empty()) std::printf(", click handled after %.0f ms", MedianOf(handled));
  std::printf("\n");
  return 0;
}

}  // namespace glimmer::driver
