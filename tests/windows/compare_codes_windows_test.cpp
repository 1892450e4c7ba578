// The code comparison on Windows is CompareStringA with the user's locale, case ignored.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/collation.h"
#include "tests/support/code_comparison_pairs.h"

namespace norvalde::platform {
namespace {

int Sign(int value) { return (value > 0) - (value < 0); }

struct CodePair {
  std::string a;
  std::string b;
  int expected;  // -1, 0 or 1
};

class CompareCodesWindows : public ::testing::TestWithParam<CodePair> {};

TEST_P(CompareCodesWindows, GivesTheCollationOrderBothWays) {
  const CodePair& pair = GetParam();
  Collation& collation = Collation::Default();
  EXPECT_EQ(Sign(collation.CompareCodes(pair.a, pair.b)), pair.expected);
  EXPECT_EQ(Sign(collation.CompareCodes(pair.b, pair.a)), -pair.expected);
}

// The table the native comparison is held to, here against CompareStringA itself.
TEST(CompareCodesWindows, GivesEveryPairOfTheSharedTable) {
  Collation& collation = Collation::Default();
  for (const auto& pair : testing::CodeComparisonPairs()) {
    EXPECT_EQ(Sign(collation.CompareCodes(pair.a, pair.b)), pair.sign) << pair.a << " | " << pair.b;
    EXPECT_EQ(Sign(collation.CompareCodes(pair.b, pair.a)), -pair.sign) << pair.b << " | " << pair.a;
  }
}

// Codes are Windows-1252 bytes: \xC1 is Á, \xE1 is á.
INSTANTIATE_TEST_SUITE_P(
    Codes, CompareCodesWindows,
    ::testing::Values(CodePair{"mat", "MAT", 0}, CodePair{"\xC1LG", "\xE1lg", 0},
                      CodePair{"MAT", "MAT", 0},
                      // Accents count: only case is ignored.
                      CodePair{"ALG", "\xC1LG", -1},
                      // Times are ordered as text, character by character.
                      CodePair{"0800", "0855", -1}, CodePair{"0855", "1045", -1},
                      CodePair{"1045", "800", -1}, CodePair{"0800", "800", -1},
                      CodePair{"", "A", -1}, CodePair{"LEN", "mat", -1}));

}  // namespace
}  // namespace norvalde::platform
