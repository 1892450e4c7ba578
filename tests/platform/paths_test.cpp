#include "platform/paths.h"

#include <gtest/gtest.h>

namespace norvalde::platform {
namespace {

TEST(JoinPath, PutsExactlyOneSeparatorBetween) {
  const std::string folder = std::string("a") + kPathSeparator + "b";
  EXPECT_EQ(JoinPath(folder, "c.txt"), folder + kPathSeparator + "c.txt");
  EXPECT_EQ(JoinPath(folder + kPathSeparator, "c.txt"), folder + kPathSeparator + "c.txt");
  EXPECT_EQ(JoinPath("", "c.txt"), "c.txt");
}

}  // namespace
}  // namespace norvalde::platform
