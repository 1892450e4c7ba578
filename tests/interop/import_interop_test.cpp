// The Import on SOLUC tables written by independent dBASE writers, and on a table that another
// process holds locked. The writers run here, through the project's own scripts.
#include <gtest/gtest.h>
#include <stdio.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "import_work_folder.h"
#include "platform/error.h"

namespace norvalde::importing::testing {
namespace {

namespace fs = std::filesystem;

const std::string kPython = "/usr/bin/python3";
const std::string kScripts = IMPORT_INTEROP_SCRIPTS;

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

class ImportIndependentSolucTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ImportIndependentSolucTest, WritesTheSameTimetable) {
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}, {"J", "2", "S042"}, {"J", "2", "S999"}}, {});
  fs::remove(folder.workFolder() + "/SOLUC.DBF");
  const std::string command = kPython + " " + Quoted(kScripts + "/import_write_soluc.py") + " " +
                              GetParam() + " " + Quoted(folder.workFolder());
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

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
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}}, {{"1", "1", "P01", "1ESA", "MAT", "A12"}});
  const std::string earlier = "0EARLIER\r\n9EARLIER\r\n";
  folder.WriteInput("ROVA_HORARIO.TXT", earlier);
  const std::string ready = folder.workFolder() + "/held";
  const std::string command = kPython + " " + Quoted(kScripts + "/import_hold_table.py") + " " +
                              Quoted(folder.workFolder() + "/DIASHORAST.DBF") + " " +
                              Quoted(ready);
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
