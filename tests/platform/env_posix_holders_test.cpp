// Other holders the POSIX environment must see: a byte-range record lock of the kind Wine
// takes for a Windows program's LockFileEx, and a process that holds the file open with no
// lock at all (Wine's share modes take none).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <optional>
#include <string>

#include "platform/env.h"
#include "tests/support/other_process.h"
#include "tests/support/temp_folder.h"

namespace norvalde::platform {
namespace {

using testing::TempFolder;

constexpr OpenMode kEveryMode[] = {OpenMode::kReadSharedDenyWrite, OpenMode::kReadShared,
                                   OpenMode::kReadWriteShared,     OpenMode::kReadExclusive,
                                   OpenMode::kReadWriteExclusive,  OpenMode::kCreateExclusive};

bool Exclusive(OpenMode mode) {
  return mode == OpenMode::kReadExclusive || mode == OpenMode::kReadWriteExclusive ||
         mode == OpenMode::kCreateExclusive;
}

// Takes a classic record lock of `type` over `length` bytes from `start`, never waiting.
bool LockRange(int fd, short type, off_t start, off_t length) {
  struct flock range {};
  range.l_type = type;
  range.l_whence = SEEK_SET;
  range.l_start = start;
  range.l_len = length;
  return ::fcntl(fd, F_SETLK, &range) == 0;
}

// Another process (a fork of the test) that opens the file with `flags` and holds it until
// the test lets it go; with a `lock` type it also takes a classic record lock over bytes
// 10..19, as Wine does for a Windows program's LockFileEx. A classic lock must live in another
// process: any close of the file in the process that took it would drop it.
class Holder {
 public:
  Holder(const std::string& path, int flags, short lock = -1)
      : process_([&] {
          const int fd = ::open(path.c_str(), flags);
          if (fd < 0 || (lock >= 0 && !LockRange(fd, lock, 10, 10))) {
            throw std::runtime_error("cannot hold " + path);
          }
        }) {
    EXPECT_EQ(process_.report(), "ok");
  }

 private:
  testing::OtherProcess process_;
};

TEST(PosixEnvHolders, ARecordWriteLockOnAnyRangeRefusesEveryOpen) {
  TempFolder folder;
  const std::string path = folder.WriteFile("ASIGT.DBF", std::string(40, 'r'));
  std::optional<Holder> holder(std::in_place, path, O_RDWR, F_WRLCK);
  for (OpenMode mode : kEveryMode) {
    std::unique_ptr<File> file;
    EXPECT_EQ(Env::Default().Open(path, mode, file), EWOULDBLOCK) << static_cast<int>(mode);
    EXPECT_EQ(file, nullptr);
  }
  // The refused creation cut nothing.
  EXPECT_EQ(folder.ReadFile("ASIGT.DBF"), std::string(40, 'r'));
  holder.reset();
  std::unique_ptr<File> file;
  EXPECT_EQ(Env::Default().Open(path, OpenMode::kReadWriteExclusive, file), 0);
}

TEST(PosixEnvHolders, ARecordReadLockRefusesOnlyExclusiveOpens) {
  TempFolder folder;
  const std::string path = folder.WriteFile("SOLUC.DBF", std::string(40, 's'));
  Holder holder(path, O_RDONLY, F_RDLCK);
  for (OpenMode mode : kEveryMode) {
    std::unique_ptr<File> file;
    EXPECT_EQ(Env::Default().Open(path, mode, file), Exclusive(mode) ? EWOULDBLOCK : 0)
        << static_cast<int>(mode);
  }
}

TEST(PosixEnvHolders, OurLocksRefuseARecordLock) {
  TempFolder folder;
  const std::string path = folder.WriteFile("PROFT.DBF", std::string(40, 'p'));
  std::unique_ptr<File> ours;
  ASSERT_EQ(Env::Default().Open(path, OpenMode::kReadShared, ours), 0);
  // The other program's own write lock fails while we hold the table, as under Windows.
  const int fd = ::open(path.c_str(), O_RDWR);
  EXPECT_FALSE(LockRange(fd, F_WRLCK, 0, 1));
  ::close(fd);
}

TEST(PosixEnvHolders, AProcessHoldingTheFileWithoutALockRefusesExclusiveOpens) {
#ifndef __linux__
  GTEST_SKIP() << "only Linux lists other processes' open files";
#endif
  TempFolder folder;
  const std::string path = folder.WriteFile("ASIGT.DBF", std::string(40, 'a'));
  {
    Holder reader(path, O_RDONLY);
    // Alone, and in a burst of opens that share one look at the other processes' files.
    for (const bool inBurst : {false, true}) {
      std::optional<OpenBurst> burst;
      if (inBurst) burst.emplace(Env::Default());
      for (OpenMode mode : kEveryMode) {
        std::unique_ptr<File> file;
        EXPECT_EQ(Env::Default().Open(path, mode, file), Exclusive(mode) ? EWOULDBLOCK : 0)
            << static_cast<int>(mode) << (inBurst ? " in a burst" : "");
      }
    }
    EXPECT_EQ(folder.ReadFile("ASIGT.DBF"), std::string(40, 'a'));
  }
  {
    // A burst's look that found a holder since gone refuses nothing.
    OpenBurst burst(Env::Default());
    {
      Holder reader(path, O_RDONLY);
      std::unique_ptr<File> file;
      EXPECT_EQ(Env::Default().Open(path, OpenMode::kReadExclusive, file), EWOULDBLOCK);
    }
    std::unique_ptr<File> file;
    EXPECT_EQ(Env::Default().Open(path, OpenMode::kReadExclusive, file), 0);
  }
  {
    // A writer also keeps out a reader that lets others only read.
    Holder writer(path, O_RDWR);
    std::unique_ptr<File> file;
    EXPECT_EQ(Env::Default().Open(path, OpenMode::kReadSharedDenyWrite, file), EWOULDBLOCK);
    EXPECT_EQ(Env::Default().Open(path, OpenMode::kReadWriteShared, file), 0);
  }
  // Once the holder is gone the file is ours again.
  std::unique_ptr<File> file;
  EXPECT_EQ(Env::Default().Open(path, OpenMode::kCreateExclusive, file), 0);
}

}  // namespace
}  // namespace norvalde::platform
