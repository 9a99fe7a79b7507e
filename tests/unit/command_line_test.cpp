#include "app/command_line.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace glimmer {
namespace {

struct Row {
  const char* line;
  LaunchMode mode;
  std::int32_t number;
};

class CommandLineTable : public testing::TestWithParam<Row> {};

TEST_P(CommandLineTable, MapsTheLineToOneRequest) {
  const Row& row = GetParam();
  const LaunchRequest request = ParseCommandLine(FromUtf8(row.line));
  EXPECT_EQ(row.mode, request.mode) << row.line;
  EXPECT_EQ(row.number, request.windowNumber) << row.line;
}

constexpr auto C = LaunchMode::Configure;
constexpr auto P = LaunchMode::Preview;
constexpr auto R = LaunchMode::Run;
constexpr auto Q = LaunchMode::Quit;
constexpr auto A = LaunchMode::ChangePassword;

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineTable,
    testing::Values(
        // Only the program's own path.
        Row{"C:\\Saver\\Glimmerdale.scr", C, 0}, Row{"\"C:\\My Saver\\Glimmerdale.scr\"", C, 0},
        Row{"", C, 0}, Row{"\"C:\\unterminated quote /s", C, 0},
        Row{"C:\\Saver\\Glimmerdale.scr ", C, 0},
        // Configure and its owner window.
        Row{"saver.scr /c:1234", C, 1234}, Row{"saver.scr /c 1234", C, 1234},
        Row{"saver.scr -C1234", C, 1234}, Row{"saver.scr /r 77", C, 77},
        Row{"saver.scr /c abc 12", C, 12}, Row{"saver.scr /c /p 7", C, 7},
        Row{"saver.scr /c", C, 0}, Row{"saver.scr /c:", C, 0},
        // Preview and its parent window.
        Row{"saver.scr /p 5678", P, 5678}, Row{"saver.scr /P:5678", P, 5678},
        Row{"saver.scr /p 99999999999999999999", P, 2147483647},
        Row{"saver.scr /p 2147483647", P, 2147483647},
        Row{"saver.scr /p 2147483648", P, 2147483647}, Row{"saver.scr /p 0", P, 0},
        Row{"saver.scr /p -5", P, 5},
        // Run: "s", any other letter, and a lone option character.
        Row{"saver.scr /s", R, 0}, Row{"saver.scr /S", R, 0}, Row{"saver.scr /x 5", R, 0},
        Row{"saver.scr /", R, 0}, Row{"saver.scr -", R, 0}, Row{"saver.scr / c 5", R, 0},
        // Quit and the password request; their numbers.
        Row{"saver.scr /t 99", Q, 0}, Row{"saver.scr /a 42", A, 42}, Row{"saver.scr -A", A, 0},
        // The first token: an unquoted path ends at its first blank.
        Row{"C:\\Saver\\my - saver.scr /c", R, 0}, Row{"\"C:\\Saver\\my - saver.scr\" /c", C, 0},
        Row{"\"C:\\Saver\\saver.scr\"/p123", P, 123},
        // The option character may stand inside a word.
        Row{"saver.scr word-c 3", C, 3}, Row{"saver.scr abc/p9", P, 9}));

TEST(CommandLine, DigitsFromOtherScriptsAreNotWindowNumbers) {
  // Arabic-Indic digits and full-width digits are skipped like letters.
  const LaunchRequest request = ParseCommandLine(u"saver.scr /c \u0661\u0662 \uFF13 45");
  EXPECT_EQ(LaunchMode::Configure, request.mode);
  EXPECT_EQ(45, request.windowNumber);
}

TEST(CommandLine, ReadsNothingPastTheEndOfTheLine) {
  // The view ends before a digit that sits in the same buffer.
  const std::u16string buffer = u"saver.scr /c7";
  const std::u16string_view line(buffer.data(), buffer.size() - 1);
  EXPECT_EQ(0, ParseCommandLine(line).windowNumber);
  const std::u16string_view noLetter(buffer.data(), buffer.size() - 2);
  EXPECT_EQ(LaunchMode::Run, ParseCommandLine(noLetter).mode);
}

}  // namespace
}  // namespace glimmer
