// Arbitrary UTF-16 as the text after the program's own path on the command
// line. Every line must map to one request, whatever the program token looks
// like: quoted, unquoted, with blanks or options of its own inside the quotes.
#include "app/command_line.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using glimmer::LaunchMode;
using glimmer::LaunchRequest;
using glimmer::ParseCommandLine;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool Same(const LaunchRequest& a, const LaunchRequest& b) {
  return a.mode == b.mode && a.windowNumber == b.windowNumber;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Two bytes a unit, little-endian, so any unit (NUL, surrogates) can occur;
  // a lone last byte becomes a letter, which reaches the option switch often.
  std::u16string rest;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    rest.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  if (size % 2 != 0) rest.push_back(static_cast<char16_t>(data[size - 1]));

  const LaunchRequest plain = ParseCommandLine(u"Glimmerdale.scr " + rest);
  Check(plain.windowNumber >= 0);
  if (plain.mode == LaunchMode::Run || plain.mode == LaunchMode::Quit)
    Check(plain.windowNumber == 0);

  // The program token never counts, however it is written.
  Check(Same(plain, ParseCommandLine(u"\"C:\\Program Files\\-p /s\\Glimmerdale.scr\" " + rest)));
  Check(Same(plain, ParseCommandLine(u"\"Glimmerdale.scr\"" + (u" " + rest))));
  // A line that is only the token, or whose quote never closes, configures.
  const LaunchRequest unclosed = ParseCommandLine(u"\"C:\\a /s " + rest);
  Check(rest.find(u'"') != std::u16string::npos || unclosed.mode == LaunchMode::Configure);
  ParseCommandLine(rest);  // no token at all: anything, but no fault
  return 0;
}
