#include "app/command_line.h"

#include <limits>

namespace glimmer {
namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Skips everything up to the first ASCII digit, then reads the run of digits;
// a value beyond the 32-bit range stays at its maximum.
std::int32_t ReadWindowNumber(std::u16string_view rest) {
  std::size_t i = 0;
  while (i < rest.size() && !IsDigit(rest[i])) ++i;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  std::int64_t value = 0;
  for (; i < rest.size() && IsDigit(rest[i]); ++i) {
    value = value * 10 + (rest[i] - u'0');
    if (value > kMax) value = kMax;
  }
  return static_cast<std::int32_t>(value);
}

}  // namespace

LaunchRequest ParseCommandLine(std::u16string_view line) {
  // The program's own path: a quoted token is skipped whole; an unquoted one
  // ends at the first blank, which is skipped too.
  std::size_t pos = 0;
  if (!line.empty() && line[0] == u'"') {
    const std::size_t closing = line.find(u'"', 1);
    pos = closing == std::u16string_view::npos ? line.size() : closing + 1;
  } else {
    const std::size_t blank = line.find(u' ');
    pos = blank == std::u16string_view::npos ? line.size() : blank + 1;
  }

  const std::size_t option = line.find_first_of(u"/-", pos);
  if (option == std::u16string_view::npos) return {LaunchMode::Configure, 0};

  const char16_t letter = option + 1 < line.size() ? line[option + 1] : u'\0';
  LaunchRequest request;
  switch (letter) {
    case u'a':
    case u'A':
      request.mode = LaunchMode::ChangePassword;
      break;
    case u'c':
    case u'C':
    case u'r':
    case u'R':
      request.mode = LaunchMode::Configure;
      break;
    case u'p':
    case u'P':
      request.mode = LaunchMode::Preview;
      break;
    case u't':
    case u'T':
      return {LaunchMode::Quit, 0};
    default:
      return {LaunchMode::Run, 0};
  }
  request.windowNumber = ReadWindowNumber(line.substr(option + 2));
  return request;
}

}  // namespace glimmer
