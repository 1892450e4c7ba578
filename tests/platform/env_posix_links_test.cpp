// Creating files never goes through a symbolic link, and the temporary file of a save is a new
// file that no other file shares a name with, nameless until closed where the system allows.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "platform/env.h"
#include "tests/support/temp_folder.h"

namespace norvalde::platform {
namespace {

namespace fs = std::filesystem;
using testing::FileNames;
using testing::TempFolder;

class PosixEnvLinks : public ::testing::Test {
 protected:
  void SetUp() override {
    work = folder.MakeFolder("QTEMP");
    outside = folder.MakeFolder("outside");
  }
  Env& env = Env::Default();
  TempFolder folder;
  std::string work, outside;
};

TEST_F(PosixEnvLinks, CreationReplacesALinkAndNeverWritesWhereItPoints) {
  folder.WriteFile("outside/PROFT.DBF", "someone else's");
  ASSERT_EQ(::symlink((outside + "/ASIGT.DBF").c_str(), (work + "/ASIGT.DBF").c_str()), 0);
  ASSERT_EQ(::symlink((outside + "/PROFT.DBF").c_str(), (work + "/PROFT.DBF").c_str()), 0);
  for (const char* name : {"/ASIGT.DBF", "/PROFT.DBF"}) {
    std::unique_ptr<File> file;
    ASSERT_EQ(env.Open(work + name, OpenMode::kCreateExclusive, file), 0) << name;
    EXPECT_EQ(file->Write("new", 3), 0);
    EXPECT_EQ(file->Close(), 0);
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work + name))) << name;
  }
  EXPECT_EQ(FileNames(outside), std::set<std::string>{"PROFT.DBF"});
  EXPECT_EQ(folder.ReadFile("outside/PROFT.DBF"), "someone else's");
  EXPECT_EQ(folder.ReadFile("QTEMP/ASIGT.DBF"), "new");
}

TEST_F(PosixEnvLinks, ATemporaryFileIsNamelessUntilClosed) {
  const std::string path = work + "/ROVA_HORARIO.TXT.0123.tmp";
  std::unique_ptr<File> file;
  ASSERT_EQ(env.Open(path, OpenMode::kCreateTemporary, file), 0);
  ASSERT_EQ(file->Write("timetable", 9), 0);
  EXPECT_EQ(file->Sync(), 0);
  // On a file system with unnamed files (this one) nothing shows until the close.
  EXPECT_TRUE(FileNames(work).empty());
  EXPECT_EQ(file->Close(), 0);
  EXPECT_EQ(FileNames(work), std::set<std::string>{"ROVA_HORARIO.TXT.0123.tmp"});
  EXPECT_EQ(folder.ReadFile("QTEMP/ROVA_HORARIO.TXT.0123.tmp"), "timetable");
  // A writer that dies before the close leaves nothing: the unnamed file goes with it.
  ASSERT_EQ(env.Open(work + "/other.tmp", OpenMode::kCreateTemporary, file), 0);
  file.reset();
  EXPECT_EQ(FileNames(work), std::set<std::string>{"ROVA_HORARIO.TXT.0123.tmp"});
}

TEST_F(PosixEnvLinks, ATemporaryFileNeverTakesANameInUse) {
  folder.WriteFile("QTEMP/mine.tmp", "my own notes");
  ASSERT_EQ(::symlink((outside + "/away.tmp").c_str(), (work + "/link.tmp").c_str()), 0);
  for (const char* name : {"/mine.tmp", "/link.tmp"}) {
    std::unique_ptr<File> file;
    EXPECT_EQ(env.Open(work + name, OpenMode::kCreateTemporary, file), EEXIST) << name;
    EXPECT_EQ(file, nullptr);
  }
  // A name taken while the file was being written is left to its new owner.
  std::unique_ptr<File> file;
  ASSERT_EQ(env.Open(work + "/late.tmp", OpenMode::kCreateTemporary, file), 0);
  folder.WriteFile("QTEMP/late.tmp", "came first");
  EXPECT_EQ(file->Write("x", 1), 0);
  EXPECT_EQ(file->Close(), EEXIST);
  EXPECT_EQ(folder.ReadFile("QTEMP/mine.tmp"), "my own notes");
  EXPECT_EQ(folder.ReadFile("QTEMP/late.tmp"), "came first");
  EXPECT_TRUE(FileNames(outside).empty());
}

}  // namespace
}  // namespace norvalde::platform
