// The real file system behind Env: sharing, creation, refusals, existence, renaming, moving,
// and folders made, listed and removed; and the paths joined for it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/env.h"
#include "platform/paths.h"
#include "platform/system_errors.h"
#include "tests/support/os_errors.h"
#include "tests/support/temp_folder.h"

namespace norvalde::platform {
namespace {

using namespace norvalde::testing;

TEST(JoinPath, PutsExactlyOneSeparatorBetween) {
  const std::string folder = std::string("a") + kPathSeparator + "b";
  EXPECT_EQ(JoinPath(folder, "c.txt"), folder + kPathSeparator + "c.txt");
  EXPECT_EQ(JoinPath(folder + kPathSeparator, "c.txt"), folder + kPathSeparator + "c.txt");
  EXPECT_EQ(JoinPath("", "c.txt"), "c.txt");
}

class EnvFiles : public ::testing::Test {
 protected:
  Env& env = Env::Default();
  TempFolder folder;
};

std::string ReadAll(File& file) {
  std::string content;
  char buffer[7];  // small, so a read never takes the whole file at once
  for (;;) {
    size_t got = 0;
    EXPECT_EQ(file.Read(buffer, sizeof buffer, got), 0);
    if (got == 0) return content;
    content.append(buffer, got);
  }
}

TEST_F(EnvFiles, SharingBetweenTwoOpensOfTheSameFile) {
  using M = OpenMode;
  const struct {
    M first;
    M second;
    bool allowed;
  } cases[] = {
      {M::kReadSharedDenyWrite, M::kReadSharedDenyWrite, true},
      {M::kReadShared, M::kReadWriteShared, true},
      {M::kReadSharedDenyWrite, M::kReadExclusive, false},
      {M::kReadSharedDenyWrite, M::kCreateExclusive, false},
      {M::kReadWriteExclusive, M::kReadSharedDenyWrite, false},
      {M::kCreateExclusive, M::kReadShared, false},
      {M::kReadExclusive, M::kReadWriteExclusive, false},
  };
  const std::string path = folder.WriteFile("t.txt", "data");
  for (const auto& c : cases) {
    std::unique_ptr<File> first, second;
    ASSERT_EQ(env.Open(path, c.first, first), 0);
    const int error = env.Open(path, c.second, second);
    if (c.allowed) {
      EXPECT_EQ(error, 0);
    } else {
      EXPECT_EQ(error, kErrorFileInUse) << static_cast<int>(c.first) << static_cast<int>(c.second);
      EXPECT_EQ(second, nullptr);
    }
  }
  // Every lock went with its file: an exclusive open works again.
  std::unique_ptr<File> last;
  EXPECT_EQ(env.Open(path, OpenMode::kReadWriteExclusive, last), 0);
}

TEST_F(EnvFiles, RefusedCreateLeavesTheHeldFileAsItWas) {
  const std::string path = folder.WriteFile("t.txt", "keep me");
  std::unique_ptr<File> reader, writer;
  ASSERT_EQ(env.Open(path, OpenMode::kReadSharedDenyWrite, reader), 0);
  EXPECT_NE(env.Open(path, OpenMode::kCreateExclusive, writer), 0);
  EXPECT_EQ(ReadAll(*reader), "keep me");
}

TEST_F(EnvFiles, OpenFailsClearlyOnBadPaths) {
  folder.MakeFolder("sub");
  const struct {
    std::string path;
    OpenMode mode;
    int error;
  } cases[] = {
      {folder.Path("missing.txt"), OpenMode::kReadSharedDenyWrite, kErrorFileNotFound},
      {folder.Path("sub"), OpenMode::kReadSharedDenyWrite, kErrorFolderAsFile},
      {folder.Path("sub"), OpenMode::kReadWriteShared, kErrorFolderAsFile},
      {folder.Path("sub"), OpenMode::kCreateExclusive, kErrorFolderAsFile},
      {JoinPath(folder.Path("nowhere"), "x.txt"), OpenMode::kCreateExclusive, kErrorPathNotFound},
  };
  for (const auto& c : cases) {
    std::unique_ptr<File> file;
    EXPECT_EQ(env.Open(c.path, c.mode, file), c.error) << c.path;
    EXPECT_EQ(file, nullptr);
  }
}

TEST_F(EnvFiles, ExistenceDeletionAndRename) {
  folder.MakeFolder("sub");
  const std::string a = folder.WriteFile("a.txt", "A");
  const std::string b = folder.WriteFile("b.txt", "B");
  EXPECT_TRUE(env.FileExists(a));
  EXPECT_FALSE(env.FileExists(folder.Path("sub")));
  EXPECT_FALSE(env.FileExists(folder.Path("none")));
  EXPECT_TRUE(env.FolderExists(folder.Path("sub")));
  EXPECT_FALSE(env.FolderExists(a));

  EXPECT_EQ(env.RenameFile(a, b), 0);  // replaces the existing target
  EXPECT_FALSE(env.FileExists(a));
  EXPECT_EQ(folder.ReadFile("b.txt"), "A");
  EXPECT_EQ(env.DeleteFile(b), 0);
  EXPECT_FALSE(env.FileExists(b));
  EXPECT_EQ(env.DeleteFile(b), kErrorFileNotFound);
}

TEST_F(EnvFiles, FoldersAndMovesThatNeverReplace) {
  const std::string sub = folder.Path("sub"), a = folder.WriteFile("a.txt", "A");
  EXPECT_EQ(env.MakeFolder(sub), 0);
  EXPECT_TRUE(NameTaken(env.MakeFolder(sub)));
  folder.WriteFile("sub/a.txt", "taken");
  EXPECT_TRUE(NameTaken(env.MoveWithoutReplacing(a, JoinPath(sub, "a.txt"))));
  EXPECT_EQ(env.MoveWithoutReplacing(a, JoinPath(sub, "b.txt")), 0);
  EXPECT_EQ(folder.ReadFile("sub/a.txt") + folder.ReadFile("sub/b.txt"), "takenA");
  std::vector<FolderEntry> entries;
  EXPECT_EQ(env.ListFolder(folder.path(), entries), 0);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries[0].name == "sub" && entries[0].kind == EntryKind::kFolder);
  // A file is listed as a path through a file is opened.
  EXPECT_EQ(RuntimeErrorCode(env.ListFolder(JoinPath(sub, "b.txt"), entries)),
            runtime_code::kPathNotFound);
  EXPECT_NE(env.RemoveFolder(sub), 0);  // not empty
  EXPECT_EQ(env.DeleteFile(JoinPath(sub, "a.txt")) + env.DeleteFile(JoinPath(sub, "b.txt")), 0);
  EXPECT_EQ(env.RemoveFolder(sub), 0);
}

// A wrapper that overrides nothing is the file it wraps, call for call.
TEST_F(EnvFiles, FileWrapperForwardsEveryCall) {
  std::unique_ptr<File> real;
  ASSERT_EQ(env.Open(folder.Path("w.txt"), OpenMode::kCreateExclusive, real), 0);
  FileWrapper file(std::move(real));
  EXPECT_EQ(file.Write("abcdef", 6), 0);
  EXPECT_EQ(file.Sync(), 0);
  EXPECT_EQ(file.Truncate(4), 0);
  uint64_t size = 0;
  EXPECT_EQ(file.Size(size), 0);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(file.Seek(1), 0);
  EXPECT_EQ(file.Write("X", 1), 0);
  EXPECT_EQ(file.Close(), 0);
  EXPECT_EQ(folder.ReadFile("w.txt"), "aXcd");
}

}  // namespace
}  // namespace norvalde::platform
