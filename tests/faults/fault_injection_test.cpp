// Every file and folder operation of a whole Export and of a whole Import is made to fail
// once, one run per operation. Whatever fails, the run must end with an error (never a crash,
// never the closing message), leave every table in the work folder readable, leave every file
// the work folder held before either in its place or kept in the run's folder, unchanged, leave
// an earlier ROVA_HORARIO.TXT exactly as it was, and leave no temporary file behind. A run may go
// on past a failure that costs nothing (an old run that could not be removed, a file already
// read or already synced that fails to close), but then its tables must be exactly those of a
// run without failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "exchange/exchange_fields.h"
#include "export/export.h"
#include "import/import.h"
#include "import/import_tables.h"
#include "platform/paths.h"
#include "small_rova_folder.h"
#include "tables/table.h"
#include "tables/work_tables.h"
#include "tests/interop/interop_tools.h"
#include "tests/support/error_of.h"
#include "tests/support/faulty_env.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/test_folders.h"

namespace norvalde::faults {
namespace {

namespace fs = std::filesystem;
using exchange::UpperCaseAscii;
using norvalde::testing::ErrorOf;
using norvalde::testing::FaultyEnv;
using norvalde::testing::FileNames;
using norvalde::testing::ReadBytes;
using norvalde::testing::Operation;
using norvalde::testing::RecordingMessageSink;

const std::set<std::string> kTableFiles = {"ASIGNOMT.DBF", "PROFT.DBF",      "AULAT.DBF",
                                           "GRUPOST.DBF",  "ASIGT.DBF",      "DIASHORAST.DBF",
                                           "SOLUC.DBF"};
// What the Export may move into its run folder: the old tables, and an index beside one.
const std::set<std::string> kMovable = {"ASIGNOMT.DBF", "PROFT.DBF",      "AULAT.DBF",
                                        "GRUPOST.DBF",  "ASIGT.DBF",      "DIASHORAST.DBF",
                                        "ASIGT.MDX"};
const std::string kKeeping = "Copias de Norvalde";
// Named by the clock, its first name taken by an earlier run in the same second.
const std::string kRunFolder = kKeeping + "/2024-03-15 09.05.00 (2)";
// Earlier runs, the oldest first, then "Mis copias" (no run), the newest, and seven empty runs
// made in SetUp: with this run's, two more than ten, so the Export removes the oldest, and of
// the next only the table file. " (9)" is older than " (10)".
const std::vector<std::pair<std::string, std::vector<std::string>>> kEarlierRuns = {
    {"2024-03-01 08.00.00", {"ASIGT.DBF", "asigt.mdx"}},
    {"2024-03-01 08.00.00 (9)", {"PROFT.DBF", "NOTAS.TXT"}},
    {"2024-03-01 08.00.00 (10)", {"PROFT.DBF"}}, {"Mis copias", {"ASIGT.DBF"}},
    {"2024-03-15 09.05.00", {}}};
const std::pair<Operation, const char*> kOperations[] = {
    {Operation::kOpen, "open"},   {Operation::kRead, "read"},     {Operation::kWrite, "write"},
    {Operation::kSync, "sync"},   {Operation::kClose, "close"},   {Operation::kDelete, "delete"},
    {Operation::kRename, "rename"}, {Operation::kMakeFolder, "make-folder"},
    {Operation::kMove, "move"}, {Operation::kList, "list"}, {Operation::kRemoveFolder, "rmdir"}};

enum class Action { kExport, kImport };

class FaultInjection : public ::testing::Test {
 protected:
  // Every field of every row of a work table as text; throws norvalde::Error when the table is
  // not readable.
  std::vector<std::vector<std::string>> TableContent(const std::string& name) const {
    return folders_.Rows(name, folders_.FieldNames(name));
  }

  void SetUp() override {
    carpeta_ = folders_.Carpeta();
    work_ = folders_.workFolder();
    pristine_ = folders_.MakeFolder("pristine");
    collected_ = folders_.MakeFolder("collected");
    // The failing runs replace tables of an earlier Export, as they would in use, dated a year
    // before them, so a table they rewrite differs from the one kept.
    norvalde::testing::FixedClockEnv yearBefore({2023, 3, 15, 9, 5});
    PrepareExported(folders_, yearBefore);
    for (const auto& entry : fs::directory_iterator(work_))
      fs::copy_file(entry.path(), pristine_ / entry.path().filename());
    std::ofstream(pristine_ + "/ASIGT.MDX", std::ios::binary) << "index";
    for (const auto& [run, files] : kEarlierRuns) {
      fs::create_directories(pristine_ + "/" + kKeeping + "/" + run);
      for (const std::string& file : files)
        std::ofstream(pristine_ + "/" + kKeeping + "/" + run + "/" + file) << run + file;
    }
    for (char day = '2'; day <= '8'; ++day)
      fs::create_directory(pristine_ + "/" + kKeeping + "/2024-03-0" + day + " 08.00.00");
    for (const std::string& table : kTableFiles) cleanContent_[table] = TableContent(table);
    RecordingMessageSink sink;
    Run(Action::kImport, clock_, sink);
    cleanHorario_ = ReadBytes(carpeta_ + "ROVA_HORARIO.TXT");
    RestoreFolders();
  }

  void Run(Action action, platform::Env& env, RecordingMessageSink& sink) {
    if (action == Action::kExport) {
      exporting::RunExport({env, carpeta_, work_, sink});
    } else {
      importing::ImportTables tables(env);
      importing::RunImport({env, carpeta_, work_, sink}, tables);
    }
  }

  // Puts back the tables and the ROVA_HORARIO.TXT found before any run.
  void RestoreFolders() {
    std::ofstream(carpeta_ + "ROVA_HORARIO.TXT", std::ios::binary) << kEarlierHorario;
    fs::remove_all(work_);
    fs::copy(pristine_, work_, fs::copy_options::recursive);
  }

  // Runs `action` with the `nth` call of `operation` failing and checks what it left.
  void RunWithFault(Action action, Operation operation, int nth, const std::string& label) {
    RestoreFolders();
    FaultyEnv env(clock_);
    env.FailNth(operation, nth);
    RecordingMessageSink sink;
    const std::string error = ErrorOf([&] { Run(action, env, sink); });
    const bool failed = error != "<no error>";
    const std::string closing =
        action == Action::kExport ? "Proceso finalizado" : "Proceso Terminado";
    const bool closed =
        std::find(sink.messages.begin(), sink.messages.end(), closing) != sink.messages.end();
    if (failed) {
      EXPECT_FALSE(error.empty());
      EXPECT_FALSE(closed) << "closing message after the error: " << error;
      EXPECT_EQ(ReadBytes(carpeta_ + "ROVA_HORARIO.TXT"), kEarlierHorario);
    } else {
      EXPECT_TRUE(closed);
      if (action == Action::kExport) {
        for (const std::string& table : kTableFiles)
          EXPECT_EQ(TableContent(table), cleanContent_[table])
              << table << " differs from a run without failure";
      } else {
        EXPECT_EQ(ReadBytes(carpeta_ + "ROVA_HORARIO.TXT"), cleanHorario_)
            << "ROVA_HORARIO.TXT differs from a run without failure";
      }
    }
    ExpectOnlyKnownFiles();
    ExpectNothingLost();
    ExpectTablesReadable(label);
  }

  // Each file the work folder held is in its place or in the run folder, unchanged; of the
  // earlier runs only the table files of the two oldest may be gone.
  void ExpectNothingLost() {
    for (const auto& entry : fs::recursive_directory_iterator(pristine_)) {
      if (!entry.is_regular_file()) continue;
      const fs::path name = fs::relative(entry.path(), pristine_);
      const std::string before = ReadBytes(entry.path().string());
      const std::string inPlace = (fs::path(work_) / name).string();
      if (fs::exists(inPlace) && ReadBytes(inPlace) == before) continue;
      if (ReadBytes((fs::path(work_) / kRunFolder / name).string()) == before) continue;
      const std::string folder = name.parent_path().filename().string();
      const std::string file = UpperCaseAscii(name.filename().string());
      EXPECT_TRUE(!fs::exists(inPlace) && kMovable.count(file) &&
                  (folder == kEarlierRuns[0].first || folder == kEarlierRuns[1].first))
          << name << " was changed or lost";
    }
  }

  void ExpectOnlyKnownFiles() {
    std::set<std::string> expected(std::begin(kRovaFileNames), std::end(kRovaFileNames));
    expected.insert("ROVA_HORARIO.TXT");
    EXPECT_EQ(FileNames(carpeta_), expected) << "a temporary file was left in the chosen folder";
    for (const std::string& name : FileNames(work_)) {
      const bool table = kTableFiles.count(UpperCaseAscii(name)) || name == "ASIGT.MDX";
      EXPECT_TRUE(table || name == kKeeping) << "unexpected file in the work folder: " << name;
    }
    if (!fs::exists(fs::path(work_) / kRunFolder)) return;
    for (const std::string& name : FileNames(work_ + "/" + kRunFolder))
      EXPECT_TRUE(kMovable.count(name)) << "unexpected file in the run folder: " << name;
  }

  // Each table reopens with the engine, and a copy is kept for the independent reader.
  void ExpectTablesReadable(const std::string& label) {
    for (const auto& entry : fs::directory_iterator(work_)) {
      const std::string name = entry.path().filename().string();
      if (!kTableFiles.count(name)) continue;
      EXPECT_EQ(ErrorOf([&] { TableContent(name); }), "<no error>")
          << name << " is not readable";
      fs::copy_file(entry.path(), fs::path(collected_) / (label + "-" + name));
    }
  }

  // Fails every operation the run makes, one run per operation.
  void FailEachOperationOf(Action action) {
    FaultyEnv counting(clock_);
    RecordingMessageSink sink;
    RestoreFolders();
    Run(action, counting, sink);
    if (action == Action::kExport) {
      // Without a fault: all seven kept, the oldest run removed, the next one's table file.
      const fs::path keeping = fs::path(work_) / kKeeping;
      EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(work_) / kRunFolder), {}), 7);
      EXPECT_FALSE(fs::exists(keeping / kEarlierRuns[0].first));
      EXPECT_FALSE(fs::exists(keeping / kEarlierRuns[1].first / "PROFT.DBF"));
      EXPECT_TRUE(fs::exists(keeping / kEarlierRuns[2].first / "PROFT.DBF"));
    }
    int runs = 0;
    for (const auto& [operation, name] : kOperations) {
      for (int nth = 1; nth <= counting.Calls(operation); ++nth, ++runs) {
        const std::string label = std::string(name) + "-" + std::to_string(nth);
        SCOPED_TRACE("failing " + label);
        RunWithFault(action, operation, nth, label);
      }
    }
    EXPECT_GT(runs, 20) << "the run made suspiciously few file operations";
    ExpectIndependentReaderAccepts();
  }

  // One pass of python3-dbfread over every table the failing runs left (Debian's python; not
  // on Windows, where the engine's own reading above still runs).
  void ExpectIndependentReaderAccepts() {
#ifndef _WIN32
    if (!fs::exists("/usr/bin/python3")) return;
    EXPECT_EQ(interop::RunScript("dbf_check.py", "dbfread", collected_), "")
        << "dbfread refused these tables";
#endif
  }

  norvalde::testing::TestFolders folders_;
  norvalde::testing::FixedClockEnv clock_;
  std::string cleanHorario_;
  std::string carpeta_, work_, pristine_, collected_;
  std::map<std::string, std::vector<std::vector<std::string>>> cleanContent_;
};

TEST_F(FaultInjection, EveryFailingOperationOfTheExport) { FailEachOperationOf(Action::kExport); }

TEST_F(FaultInjection, EveryFailingOperationOfTheImport) { FailEachOperationOf(Action::kImport); }

}  // namespace
}  // namespace norvalde::faults
