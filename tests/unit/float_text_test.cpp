// Float value texts against the standard library's exact conversions: the
// tree writes and reads them with arithmetic of its own, which must agree
// with printf's "%f" and with correct rounding on every float, at the ties
// between two floats above all.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "config/node.h"
#include "fakes/fake_registry.h"
#include "platform/text.h"

namespace glimmer {
namespace {

constexpr RegKey kRoot = kHkeyLocalMachine;
const std::u16string kKey = u"Software\\Vellumark\\Floats";

std::string Fixed6(float value) {
  char buffer[80];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                    std::chars_format::fixed, 6);
  return std::string(buffer, result.ptr);
}

// The exact decimal form of a double (every double is a finite decimal).
std::string Exact(double value) {
  char buffer[1200];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1100);
  std::string text(buffer, result.ptr);
  while (text.back() == '0') text.pop_back();
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string Name(std::size_t index) { return "v" + std::to_string(index); }

// Floats from every part of the range: specials, powers of two from the
// smallest subnormal to the largest, and random bit patterns.
std::vector<float> SampleFloats() {
  std::vector<float> floats = {0.0f,
                               -0.0f,
                               0.5f,
                               1.0f / 128,  // 7812.5 millionths: a tie, to even
                               3.0f / 128,  // 23437.5 millionths: a tie, to even
                               0.0000005f,
                               1e-7f,
                               123456.789f,
                               16777216.0f,
                               std::numeric_limits<float>::max(),
                               std::numeric_limits<float>::lowest(),
                               std::numeric_limits<float>::min(),
                               std::numeric_limits<float>::denorm_min(),
                               std::numeric_limits<float>::infinity(),
                               -std::numeric_limits<float>::infinity()};
  for (int exponent = -149; exponent <= 127; ++exponent)
    floats.push_back(std::ldexp(1.0f, exponent));
  std::mt19937 random(20240531);
  while (floats.size() < 3000) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
    if (!std::isnan(value)) floats.push_back(value);
  }
  return floats;
}

class FloatText : public testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry_.OpenHandleCount()); }

  // The fake registry looks names up one by one, so the values are spread
  // over keys of a few hundred each.
  static constexpr std::size_t kPerKey = 300;
  static std::u16string KeyOf(std::size_t index) {
    return kKey + u"\\" + AsciiToUtf16(std::to_string(index / kPerKey));
  }

  // Loads each text as the value of its own name; returns the floats read.
  std::vector<float> LoadAll(const std::vector<std::string>& texts) {
    for (std::size_t i = 0; i < texts.size(); ++i)
      registry_.PutString(kRoot, KeyOf(i), AsciiToUtf16(Name(i)), AsciiToUtf16("1: " + texts[i]));
    std::vector<float> floats;
    for (std::size_t first = 0; first < texts.size(); first += kPerKey) {
      Node tree;
      EXPECT_TRUE(tree.LoadFromRegistry(registry_, kRoot, KeyOf(first), false));
      for (std::size_t i = first; i < std::min(texts.size(), first + kPerKey); ++i)
        floats.push_back(tree[Name(i)].AsFloat());
    }
    return floats;
  }

  // Saves each float as the value of its own name; returns the texts written.
  std::vector<std::u16string> SaveAll(const std::vector<float>& floats) {
    std::vector<std::u16string> texts;
    for (std::size_t first = 0; first < floats.size(); first += kPerKey) {
      Node tree;
      const std::size_t end = std::min(floats.size(), first + kPerKey);
      for (std::size_t i = first; i < end; ++i) tree[Name(i)] = floats[i];
      EXPECT_TRUE(tree.SaveToRegistry(registry_, kRoot, KeyOf(first), false));
      for (std::size_t i = first; i < end; ++i) {
        const auto raw = registry_.Get(kRoot, KeyOf(i), AsciiToUtf16(Name(i)));
        texts.push_back(raw ? std::u16string(reinterpret_cast<const char16_t*>(raw->data.data()),
                                             raw->data.size() / 2)
                            : u"(none)");
      }
    }
    return texts;
  }

  fakes::FakeRegistry registry_;
};

TEST_F(FloatText, SavedTextsAreExactlyPrintfsFixedSixDigits) {
  const std::vector<float> floats = SampleFloats();
  const std::vector<std::u16string> texts = SaveAll(floats);
  for (std::size_t i = 0; i < floats.size(); ++i)
    ASSERT_EQ(AsciiToUtf16("1: " + Fixed6(floats[i])), texts[i])
        << "bits 0x" << std::hex << std::bit_cast<std::uint32_t>(floats[i]);
}

TEST_F(FloatText, ShortestAndScientificTextsReadBackTheSameFloat) {
  const std::vector<float> floats = SampleFloats();
  std::vector<std::string> texts;
  for (float value : floats) {
    char buffer[64];
    texts.emplace_back(buffer, std::to_chars(buffer, buffer + 64, value).ptr);
    texts.emplace_back(
        buffer, std::to_chars(buffer, buffer + 64, value, std::chars_format::scientific, 8).ptr);
    texts.emplace_back(buffer,
                       std::to_chars(buffer, buffer + 64, value, std::chars_format::hex).ptr);
    if (std::isfinite(value)) texts.back().insert(texts.back()[0] == '-' ? 1 : 0, "0x");
  }
  const std::vector<float> read = LoadAll(texts);
  for (std::size_t i = 0; i < texts.size(); ++i)
    ASSERT_EQ(std::bit_cast<std::uint32_t>(floats[i / 3]), std::bit_cast<std::uint32_t>(read[i]))
        << texts[i];
}

// Halfway between two neighbouring floats: exactly there the even one wins;
// the nearest doubles on either side, whose exact texts run to hundreds of
// digits near the subnormals, must go to their own side.
TEST_F(FloatText, TiesBetweenNeighboursRoundToEvenAndNearTiesToTheirSide) {
  std::vector<float> lows = {std::numeric_limits<float>::denorm_min(),
                             std::numeric_limits<float>::min(),
                             std::nextafter(std::numeric_limits<float>::min(), 0.0f),
                             1.0f,
                             16777216.0f,
                             std::nextafter(std::numeric_limits<float>::max(), 0.0f)};
  std::mt19937 random(7);
  while (lows.size() < 1000) {
    const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()) & 0x7FFFFFFFu);
    if (std::isfinite(std::nextafter(value, HUGE_VALF))) lows.push_back(value);
  }
  lows.push_back(0.0f);  // the tie between 0 and the smallest subnormal goes to 0

  std::vector<std::string> texts;
  for (float low : lows) {
    const double high = std::nextafter(low, HUGE_VALF);
    const double middle = (low + high) / 2;
    const std::string tie = Exact(middle);
    // Digits far past the point where the reader stops keeping them: only
    // whether any of them is not zero may count.
    const std::string far = (tie.find('.') == std::string::npos ? "." : "") + std::string(250, '0');
    texts.push_back(tie);
    texts.push_back(Exact(std::nextafter(middle, 0.0)));
    texts.push_back(Exact(std::nextafter(middle, HUGE_VAL)));
    texts.push_back(tie + far + "1");
    texts.push_back(tie + far + "0e0");
  }
  const std::vector<float> read = LoadAll(texts);
  for (std::size_t i = 0; i < lows.size(); ++i) {
    const float low = lows[i];
    const float high = std::nextafter(low, HUGE_VALF);
    const float even = (std::bit_cast<std::uint32_t>(low) & 1) == 0 ? low : high;
    const float expected[] = {even, low, high, high, even};
    for (std::size_t j = 0; j < std::size(expected); ++j)
      EXPECT_EQ(expected[j], read[5 * i + j]) << texts[5 * i + j];
  }
}

TEST_F(FloatText, EdgesOfTheRangeAndOfTheGrammar) {
  const float inf = std::numeric_limits<float>::infinity();
  const float max = std::numeric_limits<float>::max();
  const float tiny = std::numeric_limits<float>::denorm_min();
  const std::string zeros(300, '0');
  struct Case {
    std::string text;
    float expected;
  };
  const Case cases[] = {
      {"340282356779733661637539395458142568447", max},  // just below the tie with 2^128
      {"340282356779733661637539395458142568448", inf},  // the tie itself goes up, out of range
      {"3.4028235e38", max},
      {"3.5e38", inf},
      {"1e39", inf},
      {"1e40", inf},
      {"1e1000000000000", inf},
      {"0x1.fffffep127", max},
      {"0x1.ffffffp127", inf},
      {"0x1p128", inf},
      {"0x1p-149", tiny},
      {"0x1p-150", 0.0f},
      {"0x1.000001p-150", tiny},
      {"0x0." + std::string(36, '0') + "1p10", std::ldexp(1.0f, -138)},
      {"1e-45", tiny},
      {"7e-46", 0.0f},
      {"7.1e-46", tiny},
      {"1e-47", 0.0f},
      {"1e-1000000000000", 0.0f},
      {"0." + zeros + "1e300", 0.1f},
      {"1" + zeros + "e-300", 1.0f},
      {"0000000000000000000000000000000000000000000000012.5", 12.5f},
      {"1e", 1.0f},
      {"1e+", 1.0f},
      {"2E2", 200.0f},
      {"2.5e-1x", 0.25f},
      {"0x1P4", 16.0f},
      {"0x1p", 1.0f},
      {"0X.8", 0.5f},
      {"0x.", 0.0f},
      {"1.2.3", 1.2f},
      {"Infinity", inf},
      {"-INF", -inf},
  };
  std::vector<std::string> texts;
  for (const Case& c : cases) texts.push_back(c.text);
  const std::vector<float> read = LoadAll(texts);
  for (std::size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(std::bit_cast<std::uint32_t>(cases[i].expected),
              std::bit_cast<std::uint32_t>(read[i]))
        << texts[i] << " read as " << read[i];
}

TEST_F(FloatText, NotANumberKeepsItsSignThroughSaveAndLoad) {
  const std::vector<float> read = LoadAll({"nan", "-NaN(123)", "-0", "-0x0p5"});
  EXPECT_TRUE(std::isnan(read[0]) && !std::signbit(read[0]));
  EXPECT_TRUE(std::isnan(read[1]) && std::signbit(read[1]));
  EXPECT_TRUE(read[2] == 0.0f && std::signbit(read[2]));
  EXPECT_TRUE(read[3] == 0.0f && std::signbit(read[3]));

  const std::vector<std::u16string> saved = SaveAll({read[0], read[1]});
  EXPECT_EQ(u"1: nan", saved[0]);
  EXPECT_EQ(u"1: -nan", saved[1]);
}

}  // namespace
}  // namespace glimmer
