#include <gtest/gtest.h>

#include <ctime>

#include "platform/collation.h"
#include "platform/env.h"
#include "tests/support/code_comparison_pairs.h"

namespace norvalde::platform {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

// Every pair in the order CompareStringA gives it, both ways round: case ignored, accents and
// every other difference kept. Under Wine this is CompareStringA itself.
TEST(CompareCodes, AgreesWithCompareStringAOnEveryPair) {
  Collation& collation = Collation::Default();
  for (const auto& pair : testing::CodeComparisonPairs()) {
    EXPECT_EQ(Sign(collation.CompareCodes(pair.a, pair.b)), pair.sign) << pair.a << "|" << pair.b;
    EXPECT_EQ(Sign(collation.CompareCodes(pair.b, pair.a)), -pair.sign) << pair.b << "|" << pair.a;
  }
}

TEST(Now, IsTheLocalClockToTheMinute) {
  const std::time_t before = std::time(nullptr);
  const LocalTime now = Env::Default().Now();
  const std::tm expected = *std::localtime(&before);
  EXPECT_EQ(now.year, expected.tm_year + 1900);
  EXPECT_EQ(now.month, expected.tm_mon + 1);
  EXPECT_EQ(now.day, expected.tm_mday);
  EXPECT_EQ(now.hour, expected.tm_hour);
  // The minute may have turned between the two readings.
  EXPECT_TRUE(now.minute == expected.tm_min || now.minute == (expected.tm_min + 1) % 60);
}

}  // namespace
}  // namespace norvalde::platform
