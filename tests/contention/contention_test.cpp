// The Import against another process: a table held by it (exclusively or shared) stops the
// Import at the opening of the tables, and of two Imports running at once one completes
// while the other fails cleanly. The other process is either a fork of the test, holding
// tables through the same engine, so the locks are those any other instance of the program
// takes, or a program nobody here wrote (Debian's Python) locking a table its own way.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <iterator>
#include <set>
#include <string>

#include "import/import.h"
#include "import/import_tables.h"
#include "platform/paths.h"
#include "small_rova_folder.h"
#include "tables/table.h"
#include "tests/import/import_work_folder.h"
#include "tests/interop/interop_tools.h"
#include "tests/support/error_of.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/other_process.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/test_folders.h"

namespace norvalde::contention {
namespace {

using faults::kEarlierHorario;
using norvalde::testing::ErrorOf;
using norvalde::testing::FileNames;
using norvalde::testing::OtherProcess;
using norvalde::testing::RecordingMessageSink;

class Contention : public ::testing::Test {
 protected:
  void SetUp() override { faults::PrepareExported(folders_, clock_); }

  // The Import's error message, or "<no error>" when it completed.
  std::string Import(platform::Env& env, RecordingMessageSink& sink) {
    importing::ImportTables tables(env);
    return ErrorOf([&] { importing::RunImport({env, folders_.Carpeta(), work_, sink}, tables); });
  }
  std::string Horario() const { return folders_.ReadRova("ROVA_HORARIO.TXT"); }

  // Its Import runs with table components that live as long as the folder, as the window's do.
  importing::testing::ImportWorkFolder folders_;
  norvalde::testing::FixedClockEnv clock_;
  const std::string work_ = folders_.workFolder();
};

// Debian's Python, a program nobody here wrote, as an OtherProcess: takes an exclusive lock
// of its own on the file named by its argument, as another program using the table would,
// reports, and keeps the lock until its standard input closes.
const char kHoldTable[] =
    "import fcntl, os, sys\n"
    "table = open(sys.argv[1], 'rb')\n"
    "fcntl.flock(table, fcntl.LOCK_EX)\n"
    "os.write(1, b'ok')\n"
    "os.close(1)\n"
    "sys.stdin.read()\n";

// Who holds the table: a fork of the test through our engine, or Python its own way.
enum class Holder { kForkOfTheTest, kPython };

struct HeldCase {
  const char* table;
  tables::Sharing sharing;
  Holder holder = Holder::kForkOfTheTest;
};
// "SOLUC held exclusively", in test listings and failure reports.
void PrintTo(const HeldCase& c, std::ostream* out) {
  *out << c.table
       << (c.sharing == tables::Sharing::kExclusive ? " held exclusively" : " held shared")
       << (c.holder == Holder::kPython ? " by Python" : "");
}

class HeldTable : public Contention, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldTable, StopsTheImportWhenOpeningTheTables) {
  const auto [table, sharing, holder] = GetParam();
  if (holder == Holder::kPython && !interop::PythonHasModule("fcntl")) {
    GTEST_SKIP() << "no POSIX Python to hold the lock";
  }
  const std::string path = platform::JoinPath(work_, std::string(table) + ".DBF");
  const std::vector<std::string> namesBefore = folders_.RovaFileNames();
  {
    OtherProcess other([&] {
      if (holder == Holder::kPython) {
        execl("/usr/bin/python3", "python3", "-c", kHoldTable, path.c_str(), nullptr);
        throw std::runtime_error("Python did not start");
      }
      static tables::Table held(platform::Env::Default());  // open until the process ends
      held.Open(work_, table, sharing, tables::Access::kReadOnly);
    });
    ASSERT_EQ(other.report(), "ok");
    RecordingMessageSink sink;
    const std::string error = ErrorOf([&] { folders_.Run(sink); });
    const std::string engineError = "No se puede abrir la tabla \"" + path + "\": ";
    EXPECT_EQ(error.substr(0, engineError.size()), engineError) << error;
    EXPECT_TRUE(sink.events.empty());
    EXPECT_EQ(Horario(), kEarlierHorario);
    EXPECT_EQ(folders_.RovaFileNames(), namesBefore);
  }
  // Once the other process has let go, the tables opened before the held one are free too,
  // and nothing the failed Import did stands in the way.
  folders_.ExpectTablesFree();
  RecordingMessageSink sink;
  folders_.Run(sink);
  EXPECT_EQ(sink.messages, std::vector<std::string>{"Proceso Terminado"});
}

INSTANTIATE_TEST_SUITE_P(
    EachTableEachSharing, HeldTable,
    ::testing::Values(HeldCase{"SOLUC", tables::Sharing::kExclusive},
                      HeldCase{"SOLUC", tables::Sharing::kShared},
                      HeldCase{"GRUPOST", tables::Sharing::kExclusive},
                      HeldCase{"PROFT", tables::Sharing::kShared},
                      HeldCase{"AULAT", tables::Sharing::kExclusive},
                      HeldCase{"ASIGNOMT", tables::Sharing::kShared},
                      HeldCase{"DIASHORAST", tables::Sharing::kExclusive},
                      HeldCase{"DIASHORAST", tables::Sharing::kShared},
                      HeldCase{"DIASHORAST", tables::Sharing::kExclusive, Holder::kPython}),
    [](const auto& info) {
      return std::string(info.param.table) +
             (info.param.sharing == tables::Sharing::kExclusive ? "Exclusive" : "Shared") +
             (info.param.holder == Holder::kPython ? "ByPython" : "");
    });

// Stops a run once it has opened its tables: at the opening of the last one (DIASHORAST) it
// reports to the test and waits to be let go.
class PauseAtLastTable : public platform::EnvWrapper {
 public:
  PauseAtLastTable(platform::Env& target, int reached, int go)
      : EnvWrapper(target), reached_(reached), go_(go) {}
  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override {
    int error = EnvWrapper::Open(path, mode, file);
    if (path.find("DIASHORAST") != std::string::npos) {
      (void)!write(reached_, "r", 1);
      char byte;
      (void)!read(go_, &byte, 1);
    }
    return error;
  }

 private:
  int reached_, go_;
};

TEST_F(Contention, OfTwoImportsAtOnceOneCompletesAndTheOtherFailsCleanly) {
  int reached[2], go[2];
  ASSERT_EQ(pipe(reached), 0);
  ASSERT_EQ(pipe(go), 0);
  const pid_t first = fork();
  if (first == 0) {
    PauseAtLastTable env(clock_, reached[1], go[0]);
    RecordingMessageSink sink;
    const bool completed = Import(env, sink) == "<no error>";
    _exit(completed && sink.messages == std::vector<std::string>{"Proceso Terminado"} ? 0 : 1);
  }
  char byte;
  ASSERT_EQ(read(reached[0], &byte, 1), 1);  // the first Import holds all six tables now

  RecordingMessageSink sink;
  const std::string error = Import(clock_, sink);
  EXPECT_NE(error.find("No se puede abrir la tabla"), std::string::npos) << error;
  EXPECT_TRUE(sink.messages.empty());
  EXPECT_EQ(Horario(), kEarlierHorario);

  ASSERT_EQ(write(go[1], "g", 1), 1);
  int status = 0;
  waitpid(first, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the first Import did not complete";

  // The completed Import's file is whole, and the failed one left nothing of its own.
  const std::string horario = Horario();
  EXPECT_EQ(horario.rfind("0ROVA_HORARIO.TXT", 0), 0u);
  EXPECT_NE(horario.find("\r\n9ROVA_HORARIO.TXT"), std::string::npos);
  std::set<std::string> expected(std::begin(faults::kRovaFileNames),
                                 std::end(faults::kRovaFileNames));
  expected.insert("ROVA_HORARIO.TXT");
  EXPECT_EQ(FileNames(folders_.rovaFolder()), expected);
}

}  // namespace
}  // namespace norvalde::contention
