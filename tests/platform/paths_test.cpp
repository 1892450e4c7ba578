#include "platform/paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "tests/support/temp_folder.h"

namespace norvalde::platform {
namespace {

TEST(JoinPath, PutsExactlyOneSeparatorBetween) {
  EXPECT_EQ(JoinPath("/a/b", "c.txt"), "/a/b/c.txt");
  EXPECT_EQ(JoinPath("/a/b/", "c.txt"), "/a/b/c.txt");
  EXPECT_EQ(JoinPath("", "c.txt"), "c.txt");
}

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(WorkFolder, IsQtempInsideTheWinePrefix) {
  testing::TempFolder prefix;
  ScopedVariable wine("WINEPREFIX", prefix.path().c_str());
  EXPECT_EQ(WorkFolder(), prefix.path() + "/drive_c/QTEMP");  // absent: the name asked for
  prefix.MakeFolder("drive_c/qtemp");
  EXPECT_EQ(WorkFolder(), prefix.path() + "/drive_c/qtemp");  // found ignoring case
}

TEST(WorkFolder, DefaultsToTheHomePrefix) {
  testing::TempFolder home;
  ScopedVariable wine("WINEPREFIX", nullptr);
  ScopedVariable homeVariable("HOME", home.path().c_str());
  EXPECT_EQ(WorkFolder(), home.path() + "/.wine/drive_c/QTEMP");
}

}  // namespace
}  // namespace norvalde::platform
