// What a save leaves in the folder whatever happens: a writer killed at any moment leaves the
// old file and nothing else, and no file the save did not name (a user's own ".tmp", a link)
// is changed, renamed, removed or followed (a link in the output's own place is the faults
// folder's link suite's). POSIX: the kill is a real SIGKILL of a fork.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "exchange/exchange_line_list.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange {
namespace {

namespace fs = std::filesystem;
using norvalde::testing::FileNames;
using norvalde::testing::TempFolder;

ExchangeLineList Timetable(platform::Env& env, int lines) {
  ExchangeLineList list(env);
  for (int i = 0; i < lines; ++i) list.Add("1" + std::to_string(100000 + i) + std::string(60, 'x'));
  return list;
}

// Files whose `nth` write tells the test (a byte on `reached`) and then waits to be killed.
class StallingEnv : public platform::EnvWrapper {
 public:
  StallingEnv(int nth, int reached)
      : EnvWrapper(platform::Env::Default()), nth_(nth), reached_(reached) {}
  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override {
    std::unique_ptr<platform::File> opened;
    const int error = EnvWrapper::Open(path, mode, opened);
    if (error == 0) file = std::make_unique<Stalling>(std::move(opened), *this);
    return error;
  }

 private:
  class Stalling : public platform::FileWrapper {
   public:
    Stalling(std::unique_ptr<platform::File> file, StallingEnv& env)
        : FileWrapper(std::move(file)), env_(env) {}
    int Write(const char* data, size_t size) override {
      if (++env_.writes_ == env_.nth_) {
        (void)!::write(env_.reached_, "w", 1);
        for (;;) ::pause();
      }
      return FileWrapper::Write(data, size);
    }

   private:
    StallingEnv& env_;
  };

  int nth_;
  int reached_;
  int writes_ = 0;
};

TEST(SafeSave, AKilledSaveLeavesTheOldFileAndNothingElse) {
  // Killed at the first write, after several chunks, and at the last one.
  for (int nth : {1, 3, 8}) {
    TempFolder folder;
    folder.WriteFile("ROVA_HORARIO.TXT", "old\r\n");
    int reached[2];
    ASSERT_EQ(::pipe(reached), 0);
    const pid_t saver = ::fork();
    if (saver == 0) {
      StallingEnv env(nth, reached[1]);
      Timetable(env, 8000).SaveToFile(folder.Path("ROVA_HORARIO.TXT"));  // 8 chunks of 64 KiB
      _exit(0);
    }
    ::close(reached[1]);
    char byte;
    ASSERT_EQ(::read(reached[0], &byte, 1), 1) << nth;
    ::close(reached[0]);
    ::kill(saver, SIGKILL);
    ::waitpid(saver, nullptr, 0);
    EXPECT_EQ(FileNames(folder.path()), std::set<std::string>{"ROVA_HORARIO.TXT"}) << nth;
    EXPECT_EQ(folder.ReadFile("ROVA_HORARIO.TXT"), "old\r\n");
  }
}

TEST(SafeSave, TouchesNoFileItDidNotName) {
  TempFolder folder;
  const std::string work = folder.MakeFolder("rova");
  const std::string outside = folder.MakeFolder("outside");
  folder.WriteFile("rova/ROVA_HORARIO.TXT.tmp", "the user's own file");
  ASSERT_EQ(::symlink((outside + "/away").c_str(), (work + "/ROVA_HORARIO.TXT.new").c_str()), 0);
  ExchangeLineList list = Timetable(platform::Env::Default(), 3);
  list.SaveToFile(work + "/ROVA_HORARIO.TXT");
  list.SaveToFile(work + "/ROVA_HORARIO.TXT");  // and again over the first
  EXPECT_EQ(FileNames(work), (std::set<std::string>{"ROVA_HORARIO.TXT", "ROVA_HORARIO.TXT.new",
                                                "ROVA_HORARIO.TXT.tmp"}));
  EXPECT_EQ(folder.ReadFile("rova/ROVA_HORARIO.TXT.tmp"), "the user's own file");
  EXPECT_TRUE(fs::is_symlink(work + "/ROVA_HORARIO.TXT.new"));
  EXPECT_TRUE(FileNames(outside).empty());
}

}  // namespace
}  // namespace norvalde::exchange
