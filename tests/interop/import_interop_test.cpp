// The Import on SOLUC tables written by independent dBASE writers, and on a table that another
// process holds locked. The writers run here, through scripts/import_write_soluc.py.
#include <gtest/gtest.h>
#include <stdio.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "import_work_folder.h"
#include "platform/error.h"
#include "tests/interop/interop_tools.h"

namespace norvalde::importing::testing {
namespace {

namespace fs = std::filesystem;

// Takes an exclusive lock on the file named by its first argument, as another program using
// the table would, creates the file named by the second once it holds it, and keeps the lock
// until its standard input closes.
const char kHoldTable[] =
    "import fcntl, sys\n"
    "table = open(sys.argv[1], 'rb')\n"
    "fcntl.flock(table, fcntl.LOCK_EX)\n"
    "open(sys.argv[2], 'w').close()\n"
    "sys.stdin.read()\n";

class ImportIndependentSolucTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ImportIndependentSolucTest, WritesTheSameTimetable) {
  if (!interop::PythonHasModule("dbf") || !interop::HaveProgram("ogr2ogr")) {
    GTEST_SKIP() << "python3-dbf or gdal-bin is missing";
  }
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}, {"J", "2", "S042"}, {"J", "2", "S999"}}, {});
  fs::remove(folder.workFolder() + "/SOLUC.DBF");
  interop::RunScript("import_write_soluc.py", GetParam(), folder.workFolder());

  RecordingMessageSink sink;
  folder.Run(sink);

  // "Mús" comes back as Windows-1252 whatever the table's own code page.
  EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(),
                                            "1S011LP01 1ESALEC MAT A12 ",
                                            "1S042JP01052ESBLEC M\xFAs A14 ",
                                            "1    VP03 3ESCLEC ING     ",
                                            HorarioTrailer(3)}));
  EXPECT_EQ(sink.events, (std::vector<std::string>{"<cursor restored>", "Proceso Terminado"}));
}

INSTANTIATE_TEST_SUITE_P(Writers, ImportIndependentSolucTest,
                         ::testing::Values("dbf-numeric", "dbf-text", "ogr-lowercase"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name.erase(name.find('-'), 1);
                           return name;
                         });

TEST(ImportLockedTableTest, TableLockedByAnotherProcessEndsTheRun) {
  if (!interop::PythonHasModule("fcntl")) GTEST_SKIP() << "no POSIX Python to hold the lock";
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}}, {{"1", "1", "P01", "1ESA", "MAT", "A12"}});
  const std::string earlier = "0EARLIER\r\n9EARLIER\r\n";
  folder.WriteRovaBytes("ROVA_HORARIO.TXT", earlier);
  const std::string ready = folder.workFolder() + "/held";
  const std::string command = "/usr/bin/python3 -c \"" + std::string(kHoldTable) + "\" '" +
                              folder.workFolder() + "/DIASHORAST.DBF' '" + ready + "'";
  FILE* holder = popen(command.c_str(), "w");
  ASSERT_NE(holder, nullptr);
  for (int i = 0; i < 200 && !fs::exists(ready); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_TRUE(fs::exists(ready)) << "the other process never took its lock";

  RecordingMessageSink sink;
  std::string message;
  try {
    folder.Run(sink);
  } catch (const Error& error) {
    message = error.what();
  }
  pclose(holder);  // closes its input, so it lets go and ends

  const std::string engineError =
      "No se puede abrir la tabla \"" + folder.workFolder() + "/DIASHORAST.DBF\": ";
  EXPECT_EQ(message.substr(0, engineError.size()), engineError) << message;
  EXPECT_TRUE(sink.events.empty());
  EXPECT_EQ(folder.ReadOutput(), earlier);
  folder.ExpectTablesFree();  // the five opened before DIASHORAST were let go
}

}  // namespace
}  // namespace norvalde::importing::testing
