#include "tables/dbf_values.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <string_view>

namespace norvalde::tables {
namespace {

using namespace std::literals;

TEST(FormatNumberTest, ShortestFormWithUpTo15SignificantDigits) {
  EXPECT_EQ(FormatNumber(2.99), "2.99");
  EXPECT_EQ(FormatNumber(3), "3");
  EXPECT_EQ(FormatNumber(-10), "-10");
  EXPECT_EQ(FormatNumber(0.5), "0.5");
  EXPECT_EQ(FormatNumber(-0.0), "0");
  EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatNumber(123456789012.5), "123456789012.5");
  EXPECT_EQ(FormatNumber(2147483647), "2147483647");
  // Very small and very large values in exponent form; the user's separator in every form.
  EXPECT_EQ(FormatNumber(0.0001), "0.0001");
  EXPECT_EQ(FormatNumber(0.00001), "1e-05");
  EXPECT_EQ(FormatNumber(1e15), "1e+15");
  EXPECT_EQ(FormatNumber(2.99, ','), "2,99");
  EXPECT_EQ(FormatNumber(-0.5, ','), "-0,5");
  EXPECT_EQ(FormatNumber(3, ','), "3");
  EXPECT_EQ(FormatNumber(1.5e-5, ','), "1,5e-05");
  EXPECT_EQ(FormatNumber(1234567890123456.0, ','), "1,23456789012346e+15");
}

TEST(ParseNumberTextTest, AcceptsWhatWritersStoreAndRejectsGarbage) {
  struct Case {
    std::string_view text;
    bool ok;
    bool empty;
    double value;
  };
  const Case cases[] = {
      {" 1", true, false, 1},        {"007", true, false, 7},
      {"1 ", true, false, 1},        {"  -2.50", true, false, -2.5},
      {"1,5", true, false, 1.5},     {"+3", true, false, 3},
      {"\0\0 4"sv, true, false, 4},
      {"", true, true, 0},           {"    ", true, true, 0},
      {"**", true, true, 0},         {"--", true, true, 0},
      {"1a", false, false, 0},       {"abc", false, false, 0},
      {"1 2", false, false, 0},      {"*1", false, false, 0},
      {"nan", false, false, 0},      {"inf", false, false, 0},
  };
  for (const Case& c : cases) {
    double value = -99;
    bool empty = false;
    EXPECT_EQ(ParseNumberText(c.text, value, empty), c.ok) << "'" << c.text << "'";
    if (!c.ok) continue;
    EXPECT_EQ(empty, c.empty) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
  const std::pair<double, int32_t> cases[] = {
      {0.5, 0}, {1.5, 2}, {2.5, 2}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
      {2.4999, 2}, {2.5001, 3}, {2147483647.0, 2147483647}, {-2147483648.0, INT32_MIN},
  };
  for (const auto& [value, expected] : cases) {
    int32_t result = 0;
    ASSERT_TRUE(RoundHalfEven(value, result)) << value;
    EXPECT_EQ(result, expected) << value;
  }
  int32_t result = 0;
  EXPECT_FALSE(RoundHalfEven(2147483648.0, result));
  EXPECT_FALSE(RoundHalfEven(NAN, result));
}

TEST(ParseWholeNumberTest, OnlyDecimalWholeNumbersWithinThirtyTwoBits) {
  int32_t result = 0;
  EXPECT_TRUE(ParseWholeNumber("  -42", result));
  EXPECT_EQ(result, -42);
  for (const char* bad : {"", "3.0", "1e3", "0x10", "+-1", "2147483648", "3 ", "a"}) {
    EXPECT_FALSE(ParseWholeNumber(bad, result)) << "'" << bad << "'";
  }
}

// Plain decimals take a shortcut past from_chars and to_chars; it must give the very same values.
TEST(NumberShortcutTest, AgreesWithTheGeneralConversions) {
  std::mt19937_64 random(7);
  for (int i = 0; i < 20000; ++i) {
    const int decimals = static_cast<int>(random() % 8);
    const int64_t digits = static_cast<int64_t>(random() % 1000000000000000ULL) >> (random() % 50);
    std::string text = std::to_string(digits);
    if (decimals > 0) {
      if (text.size() <= static_cast<size_t>(decimals)) text.insert(0, decimals + 1 - text.size(), '0');
      text.insert(text.size() - decimals, ".");
    }
    if (random() % 2) text.insert(0, "-");
    double expected = 0, value = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    bool empty = false;
    ASSERT_TRUE(ParseNumberText(text, value, empty)) << text;
    ASSERT_EQ(value, expected) << text;
    char general[64];
    const auto end = std::to_chars(general, general + sizeof general, expected,
                                   std::chars_format::general, 15).ptr;
    ASSERT_EQ(FormatNumber(expected), expected == 0 ? "0" : std::string(general, end)) << text;
  }
}

}  // namespace
}  // namespace norvalde::tables
