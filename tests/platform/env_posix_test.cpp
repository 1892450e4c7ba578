// What the POSIX environment adds: errno values of its own, long paths, names found ignoring
// case on a case-sensitive file system, and the work folder inside the Wine prefix.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/decimal_separator.h"
#include "platform/env.h"
#include "platform/paths.h"
#include "platform/system_errors.h"
#include "tests/support/temp_folder.h"

namespace norvalde::platform {
namespace {

using testing::TempFolder;

TEST(RuntimeErrorCode, MapsErrnoOntoTheLibraryCodes) {
  const struct {
    int systemError;
    int code;
  } cases[] = {
      {ENOENT, 2}, {ENAMETOOLONG, 3}, {ENOTDIR, 3}, {EMFILE, 4}, {EACCES, 5}, {EPERM, 5},
      {EISDIR, 5}, {EWOULDBLOCK, 32}, {ENOSPC, 101}, {EIO, 1117}, {EROFS, EROFS},
  };
  for (const auto& c : cases) EXPECT_EQ(RuntimeErrorCode(c.systemError), c.code) << c.systemError;
}

class PosixEnvFiles : public ::testing::Test {
 protected:
  Env& env = Env::Default();
  TempFolder folder;
};

TEST_F(PosixEnvFiles, OpenFailsOnNamesThisSystemRefuses) {
  folder.WriteFile("plain", "x");
  std::unique_ptr<File> file;
  EXPECT_EQ(env.Open(folder.Path("plain/x.txt"), OpenMode::kReadShared, file), ENOTDIR);
  EXPECT_EQ(env.Open(folder.Path(std::string(300, 'a')), OpenMode::kReadShared, file),
            ENAMETOOLONG);
  // Refused at once, not when the written file is named.
  EXPECT_EQ(env.Open(folder.Path(std::string(300, 'a')), OpenMode::kCreateTemporary, file),
            ENAMETOOLONG);
  EXPECT_EQ(file, nullptr);
}

TEST_F(PosixEnvFiles, APipeIsRefusedWithoutWaiting) {
  const std::string pipe = folder.Path("rova_prof.txt");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::unique_ptr<File> file;
  EXPECT_EQ(env.Open(pipe, OpenMode::kReadSharedDenyWrite, file), EACCES);
  EXPECT_FALSE(env.FileExists(pipe));
}

TEST_F(PosixEnvFiles, PathsLongerThanTheOldLimitWork) {
  std::string sub;
  while (folder.Path(sub).size() < 300) sub += std::string(40, 'd') + "/";
  folder.MakeFolder(sub);
  const std::string path = folder.WriteFile(sub + "f.txt", "deep");
  std::unique_ptr<File> file;
  ASSERT_EQ(env.Open(path, OpenMode::kReadSharedDenyWrite, file), 0);
  size_t got = 0;
  char buffer[8];
  ASSERT_EQ(file->Read(buffer, sizeof buffer, got), 0);
  EXPECT_EQ(std::string(buffer, got), "deep");
}

TEST_F(PosixEnvFiles, FindFileIgnoringCase) {
  folder.WriteFile("rova_prof.txt", "");
  folder.WriteFile("ROVA_PROF.TXT", "");
  folder.WriteFile("Rova_Aulas.Txt", "");
  folder.WriteFile("ROVA_AULAS.TXT", "");
  folder.WriteFile("\xC3\x91" "ame.txt", "");  // N with tilde in UTF-8: never case-folded
  folder.MakeFolder("Sub");
  folder.WriteFile("Sub/asigt.dbf", "");
  const std::string root = folder.path();
  const struct {
    std::string asked;
    std::string found;
  } cases[] = {
      {root + "/rova_prof.txt", root + "/rova_prof.txt"},  // the exact name first
      {root + "/ROVA_PROF.TXT", root + "/ROVA_PROF.TXT"},
      {root + "/rova_aulas.txt", root + "/ROVA_AULAS.TXT"},  // the smallest of several
      {root + "//rova_aulas.txt", root + "/ROVA_AULAS.TXT"},
      {root + "/Sub//ASIGT.DBF", root + "/Sub/asigt.dbf"},
      {root + "/\xC3\xB1" "ame.txt", root + "/\xC3\xB1" "ame.txt"},
      {root + "/new.txt", root + "/new.txt"},
      {root + "/missing/x.txt", root + "/missing/x.txt"},
      {root + "//", root + "/"},
  };
  for (const auto& c : cases) EXPECT_EQ(env.FindFileIgnoringCase(c.asked), c.found) << c.asked;
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

// In WINEPREFIX, or in ~/.wine when it is unset.
TEST(WorkFolder, IsQtempInsideTheWinePrefix) {
  TempFolder prefix, home;
  {
    ScopedVariable wine("WINEPREFIX", prefix.path().c_str());
    EXPECT_EQ(WorkFolder(), prefix.path() + "/drive_c/QTEMP");  // absent: the name asked for
    prefix.MakeFolder("drive_c/qtemp");
    EXPECT_EQ(WorkFolder(), prefix.path() + "/drive_c/qtemp");  // found ignoring case
  }
  ScopedVariable wine("WINEPREFIX", nullptr), homeVariable("HOME", home.path().c_str());
  EXPECT_EQ(WorkFolder(), home.path() + "/.wine/drive_c/QTEMP");
}

// The separator of the locale LC_ALL, LC_NUMERIC or LANG names, the first one set, read
// through ICU: whether the system has that locale installed plays no part.
TEST(UserDecimalSeparator, FollowsTheNumericLocaleOfTheEnvironment) {
  const struct {
    const char* all;
    const char* numeric;
    const char* lang;
    char separator;
  } cases[] = {
      {"es_ES.UTF-8", nullptr, nullptr, ','},   {"en_US.UTF-8", nullptr, nullptr, '.'},
      {nullptr, "es_ES.UTF-8", "en_US", ','},   {nullptr, nullptr, "de_DE@euro", ','},
      {"", "en_GB", "es_ES", '.'},              {"en_GB", "es_ES", "es_ES", '.'},
      {"C", "es_ES", "es_ES", '.'},             {"POSIX", nullptr, nullptr, '.'},
      {nullptr, nullptr, nullptr, '.'},
      {"ar_EG", nullptr, nullptr, '.'},  // U+066B, which Windows-1252 lacks
  };
  for (const auto& c : cases) {
    ScopedVariable all("LC_ALL", c.all), numeric("LC_NUMERIC", c.numeric), lang("LANG", c.lang);
    EXPECT_EQ(UserDecimalSeparator(), c.separator)
        << (c.all ? c.all : "-") << " " << (c.numeric ? c.numeric : "-") << " "
        << (c.lang ? c.lang : "-");
  }
}

}  // namespace
}  // namespace norvalde::platform
