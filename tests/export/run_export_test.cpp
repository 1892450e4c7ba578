// The whole Export: the six conversions in order, the closing message, a missing file in the
// middle of the run, and an error that ends it.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/error.h"
#include "export/export.h"
#include "small_rova_folder.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/test_folders.h"

namespace norvalde::exporting {
namespace {

using testing::Columns;
using testing::TestFolders;
using testing::RecordingMessageSink;
using Rows = std::vector<std::vector<std::string>>;

const char* const kTables[] = {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"};

TEST(RunExport, WritesTheSixTablesAndClosesWithItsMessage) {
  TestFolders folders;
  faults::WriteInputs(folders, platform::Env::Default());  // the fault suite's small folder
  for (const char* table : kTables) folders.WriteWorkFile(std::string(table) + ".MDX", "index");

  RunExport(folders.Context());

  EXPECT_EQ(folders.messages.events,
            (std::vector<std::string>{RecordingMessageSink::kCursorRestored,
                                      "Proceso finalizado"}));
  for (const char* table : kTables) {
    EXPECT_TRUE(folders.WorkFileExists(std::string(table) + ".DBF")) << table;
    EXPECT_FALSE(folders.WorkFileExists(std::string(table) + ".MDX")) << table;
  }
  // The assignments found the groups written just before them (XXX is no group).
  EXPECT_EQ(folders.Rows("ASIGT.DBF", {"CGRUP", "NIVEL"}),
            (Rows{{"1EA", "ESO"}, {"1EA", "ESO"}, {"2BB", "NIV"}, {"XXX", ""}}));
}

TEST(RunExport, MissingFileEndsOnlyItsOwnConversion) {
  TestFolders folders;
  faults::WriteInputs(folders, platform::Env::Default());
  std::filesystem::remove(folders.rovaFolder() + "/rova_aulas.txt");
  folders.WriteWorkFile("AULAT.DBF", "the previous table");

  RunExport(folders.Context());

  EXPECT_EQ(folders.messages.events,
            (std::vector<std::string>{"No existe archivo de aulas (ROVA_AULAS.TXT)",
                                      RecordingMessageSink::kCursorRestored,
                                      "Proceso finalizado"}));
  EXPECT_EQ(folders.ReadWorkFile("AULAT.DBF"), "the previous table");
  // Nor kept: a run that replaced nothing makes no folder for what it replaced.
  EXPECT_FALSE(std::filesystem::exists(folders.WorkFile("Copias de Norvalde")));
  EXPECT_EQ(folders.Rows("DIASHORAST.DBF", {"DIHO"}), (Rows{{"L1"}, {"L2"}, {"M1"}}));
}

TEST(RunExport, ReportsEachConversionAsItFinishesInOrder) {
  TestFolders folders;
  faults::WriteInputs(folders, platform::Env::Default());
  std::vector<std::string> finished;
  RunExport(folders.Context(), [&](const char* name) {
    finished.push_back(name);
    // The conversion has written its table before it is reported.
    if (finished.size() == 4) {
      EXPECT_TRUE(folders.WorkFileExists("GRUPOST.DBF"));
    }
  });
  EXPECT_EQ(finished, (std::vector<std::string>{"ExportarAsignaturas", "ExportarProfesores",
                                                "ExportarAulas", "ExportarGrupos",
                                                "ExportarAsignaturasGrupos", "ExportarTramos"}));
}

TEST(RunExport, ErrorEndsTheRunBeforeLaterConversionsAndTheClosingMessage) {
  TestFolders folders;
  faults::WriteInputs(folders, platform::Env::Default());
  folders.WriteRova("rova_asignatcurso.txt",
                    {Columns({{1, "1"}, {2, "ESO"}, {8, "1"}, {24, "MAT"}, {28, "cuatro"}})});
  folders.WriteWorkFile("DIASHORAST.DBF", "the previous table");

  EXPECT_THROW(RunExport(folders.Context()), Error);

  EXPECT_TRUE(folders.messages.events.empty());
  EXPECT_EQ(folders.ReadWorkFile("DIASHORAST.DBF"), "the previous table");
  EXPECT_EQ(folders.Rows("GRUPOST.DBF", {"ABREV"}), (Rows{{"1EA"}, {"2BB"}}));
}

}  // namespace
}  // namespace norvalde::exporting
