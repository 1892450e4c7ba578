// The two number readings of the ROVA texts: what they accept, what they refuse, and the
// message that names the refused text.
#include <gtest/gtest.h>

#include "core/error.h"
#include "export/number_conversions.h"
#include "tests/support/error_of.h"

namespace norvalde::exporting {
namespace {

using testing::ErrorOf;

TEST(FloatFromText, AcceptsSignDigitsFractionAndExponent) {
  const std::pair<const char*, double> cases[] = {
      {"2.5", 2.5}, {"+3", 3},     {"-3", -3},     {"0", 0},      {"007", 7},
      {"1e2", 100}, {"2.5E-1", 0.25}, {"1E+1", 10}, {"2.99", 2.99}, {"-0.5", -0.5},
  };
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(FloatFromText(text), value) << text;
}

TEST(FloatFromText, RefusesEveryOtherText) {
  const char* const cases[] = {"",    "2 h",  " 2",  "2 ",   ".5",  "5.",   "2,5", "1e",
                               "e5",  "--1",  "+-1", "1.2.3", "inf", "nan",  "0x10", "1e999",
                               "1,5e1", "\xBD"};
  for (const char* text : cases) EXPECT_THROW(FloatFromText(text), Error) << text;
}

// Below the smallest double is zero, the nearest double; too large for one is refused.
TEST(FloatFromText, ValuesTooSmallForADoubleAreZero) {
  const char* const zeros[] = {"1e-400", "-1e-400", "+2.5E-999", "0.0001e-320", "123e-500",
                               "1e-99999999999999999999", "0.000e-999999"};
  for (const char* text : zeros) EXPECT_EQ(FloatFromText(text), 0.0) << text;
  EXPECT_GT(FloatFromText("1e-310"), 0.0);  // a subnormal double is still itself
  EXPECT_DOUBLE_EQ(FloatFromText("0.001e311"), 1e308);
  const char* const tooLarge[] = {"1e309", "-1e309", "0.01e311", "1e99999999999999999999",
                                  "100000e304"};
  for (const char* text : tooLarge) {
    EXPECT_EQ(ErrorOf([&] { FloatFromText(text); }),
              "'" + std::string(text) + "' no es un valor punto flotante válido");
  }
}

TEST(FloatFromText, MessageNamesTheTextInUtf8) {
  EXPECT_EQ(ErrorOf([] { FloatFromText("2\xBD"); }),
            "'2\xC2\xBD' no es un valor punto flotante válido");
}

TEST(WholeNumberFromText, AcceptsDecimalWholeNumbersWithin32Bits) {
  const std::pair<const char*, int32_t> cases[] = {
      {"0830", 830}, {"-10", -10}, {"+5", 5}, {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(WholeNumberFromText(text), value) << text;
}

TEST(WholeNumberFromText, RefusesEveryOtherTextNamingIt) {
  const char* const cases[] = {"",    "2147483648", "-2147483649", "8:30", "0x1", " 1",
                               "1 ",  "1.0",        "+",           "-",    "+-1", "1e2"};
  for (const char* text : cases) {
    EXPECT_EQ(ErrorOf([&] { WholeNumberFromText(text); }),
              "'" + std::string(text) + "' no es un valor entero válido");
  }
}

}  // namespace
}  // namespace norvalde::exporting
