// The two number readings of the ROVA texts: what they accept, what they refuse, and the
// message that names the refused text.
#include <gtest/gtest.h>

#include "export/number_conversions.h"
#include "platform/error.h"

namespace norvalde::exporting {
namespace {

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
                               "1e-999", "1,5e1", "\xBD"};
  for (const char* text : cases) EXPECT_THROW(FloatFromText(text), Error) << text;
}

TEST(FloatFromText, MessageNamesTheTextInUtf8) {
  try {
    FloatFromText("2\xBD");
    FAIL();
  } catch (const Error& error) {
    EXPECT_STREQ(error.what(), "'2\xC2\xBD' no es un valor punto flotante válido");
  }
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
    try {
      WholeNumberFromText(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const Error& error) {
      EXPECT_EQ(error.what(), "'" + std::string(text) + "' no es un valor entero válido");
    }
  }
}

}  // namespace
}  // namespace norvalde::exporting
