// The Linux core beside a real Windows program under Wine that holds a table: opened sharing
// nothing, or locked with LockFileEx. Either way the run stops with the table-in-use error
// before it deletes or reads anything. Run by scripts/test-wine-holder.sh, which builds the
// holder and names it and Wine in NORVALDE_WINE_HOLDER and NORVALDE_WINE; without them every
// test is skipped.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "export/export.h"
#include "import/import.h"
#include "import/import_tables.h"
#include "platform/paths.h"
#include "small_rova_folder.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/error_of.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/test_folders.h"

namespace norvalde::contention {
namespace {

namespace fs = std::filesystem;
using norvalde::testing::ErrorOf;
using norvalde::testing::ReadBytes;
using norvalde::testing::RecordingMessageSink;

constexpr const char* kInUse = "la tabla está en uso por otro programa";

// The Windows name of a Linux path: Wine's drive Z: is the root.
std::string WindowsPath(std::string path) {
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return "Z:" + path;
}

// The Windows holder running under Wine, holding `file` from construction until destruction.
class WineHolder {
 public:
  WineHolder(const std::string& mode, const std::string& file, const std::string& folder)
      : ready_(folder + "/holder.ready"), release_(folder + "/holder.release") {
    const char* wine = std::getenv("NORVALDE_WINE");
    const char* holder = std::getenv("NORVALDE_WINE_HOLDER");
    pid_ = fork();
    if (pid_ == 0) {
      const std::string target = WindowsPath(file), ready = WindowsPath(ready_),
                        release = WindowsPath(release_);
      execl(wine, wine, holder, mode.c_str(), target.c_str(), ready.c_str(), release.c_str(),
            static_cast<char*>(nullptr));
      _exit(127);
    }
    // Wine starts in a few seconds; a minute means it never will.
    for (int waited = 0; waited < 600 && !fs::exists(ready_); ++waited) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
  }
  ~WineHolder() {
    std::ofstream(release_) << "go";
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
  }
  bool holding() const { return fs::exists(ready_); }

 private:
  std::string ready_, release_;
  pid_t pid_ = -1;
};

class WineHolderTest : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    if (!std::getenv("NORVALDE_WINE") || !std::getenv("NORVALDE_WINE_HOLDER")) {
      GTEST_SKIP() << "needs Wine and the Windows table holder (scripts/test-wine-holder.sh)";
    }
    faults::PrepareExported(folders_, clock_);
  }

  ino_t Inode(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_ino;
  }

  norvalde::testing::TestFolders folders_;
  norvalde::testing::FixedClockEnv clock_;
  const std::string carpeta_ = folders_.Carpeta(), work_ = folders_.workFolder();
};

TEST_P(WineHolderTest, TheExportStopsAtTheHeldTableAndDeletesNothing) {
  const std::string asigt = platform::JoinPath(work_, "ASIGT.DBF");
  const std::string before = ReadBytes(asigt);
  const ino_t inode = Inode(asigt);
  WineHolder holder(GetParam(), asigt, folders_.root());
  ASSERT_TRUE(holder.holding());
  RecordingMessageSink sink;
  const std::string error = ErrorOf([&] { exporting::RunExport({clock_, carpeta_, work_, sink}); });
  EXPECT_NE(error.find("ASIGT.DBF"), std::string::npos) << error;
  EXPECT_NE(error.find(kInUse), std::string::npos) << error;
  for (const std::string& message : sink.messages) EXPECT_NE(message, "Proceso finalizado");
  EXPECT_EQ(Inode(asigt), inode);  // the same file, never deleted and re-created
  EXPECT_EQ(ReadBytes(asigt), before);
}

TEST_P(WineHolderTest, TheImportStopsAtTheHeldSolucAndWritesNothing) {
  const std::string soluc = platform::JoinPath(work_, "SOLUC.DBF");
  WineHolder holder(GetParam(), soluc, folders_.root());
  ASSERT_TRUE(holder.holding());
  RecordingMessageSink sink;
  importing::ImportTables tables(clock_);
  const std::string error =
      ErrorOf([&] { importing::RunImport({clock_, carpeta_, work_, sink}, tables); });
  EXPECT_NE(error.find("SOLUC"), std::string::npos) << error;
  EXPECT_NE(error.find(kInUse), std::string::npos) << error;
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(ReadBytes(carpeta_ + "ROVA_HORARIO.TXT"), faults::kEarlierHorario);
  if (std::string(GetParam()) == "locked") {
    // Wine's record lock alone refuses even a read that lets others share the table.
    std::unique_ptr<platform::File> file;
    EXPECT_EQ(platform::Env::Default().Open(soluc, platform::OpenMode::kReadShared, file),
              EWOULDBLOCK);
  }
}

INSTANTIATE_TEST_SUITE_P(BothWays, WineHolderTest, ::testing::Values("exclusive", "locked"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace norvalde::contention
