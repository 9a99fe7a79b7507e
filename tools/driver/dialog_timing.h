// Times how long a program takes from its start until its dialog shows a
// given title, and optionally how long one button click takes to be handled
// (the settings dialog's Restore Defaults measures the hardware again).
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "win32/windows_api.h"

namespace glimmer::driver {

// The visible top-level dialog (class "#32770") of the process whose title is
// exactly title, or null.
HWND DialogTitled(DWORD processId, const std::wstring& title);

// The middle value (the mean of the two middle ones for an even count); 0 for none.
double MedianOf(std::vector<double> values);

struct DialogTiming {
  double shownMs = 0;                  // start until the title shows
  std::optional<double> clickHandled;  // the click until the dialog has handled it
};

// Starts `"program" arguments`, waits for the titled dialog, clicks button
// clickId when given, then closes the dialog and waits for the process to
// end. Nothing when the dialog does not show or the process does not end.
std::optional<DialogTiming> TimeDialog(const std::wstring& program, const std::wstring& arguments,
                                       const std::wstring& title, std::optional<int> clickId,
                                       std::chrono::milliseconds limit);

// driver dialog PROGRAM TITLE [RUNS [BUTTON]]: TimeDialog RUNS times, each
// run and the medians printed.
int DialogMain(int argc, wchar_t** argv);

}  // namespace glimmer::driver
