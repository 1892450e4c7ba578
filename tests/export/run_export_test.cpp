// The whole Export: the six conversions in order, the closing message, a missing file in the
// middle of the run, and an error that ends it.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/error.h"
#include "export/export.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/test_folders.h"

namespace norvalde::exporting {
namespace {

using testing::Columns;
using testing::TestFolders;
using testing::RecordingMessageSink;

const char* const kTables[] = {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"};

void WriteAllInputs(const TestFolders& folders) {
  folders.WriteRova("rova_asignat.txt", {Columns({{1, "1"}, {2, "MAT"}, {26, "Matem\xE1ticas"}})});
  folders.WriteRova("rova_prof.txt", {Columns({{1, "1"}, {2, "ANA"}, {6, "Ana"}})});
  folders.WriteRova("rova_aulas.txt", {Columns({{1, "1"}, {12, "A1"}, {86, "Aula 1"}})});
  folders.WriteRova("rova_grupo.txt",
                    {Columns({{1, "1"}, {2, "1ESOA"}, {12, "1A"}, {16, "ESO"}, {22, "1"}})});
  folders.WriteRova("rova_asignatgrupo.txt", {Columns({{1, "1"}, {12, "1A"}, {16, "MAT"}})});
  folders.WriteRova("rova_asignatcurso.txt",
                    {Columns({{1, "1"}, {2, "ESO"}, {8, "1"}, {24, "MAT"}, {28, "4"}})});
  folders.WriteRova("rova_sesiones.txt", {Columns({{1, "1"}, {5, "0001"}, {9, "L"},
                                                   {10, "0800"}, {14, "0855"}})});
}

TEST(RunExport, WritesTheSixTablesAndClosesWithItsMessage) {
  TestFolders folders;
  WriteAllInputs(folders);
  for (const char* table : kTables) folders.WriteWorkFile(std::string(table) + ".MDX", "index");

  RunExport(folders.Context());

  EXPECT_EQ(folders.messages.events,
            (std::vector<std::string>{RecordingMessageSink::kCursorRestored,
                                      "Proceso finalizado"}));
  for (const char* table : kTables) {
    EXPECT_TRUE(folders.WorkFileExists(std::string(table) + ".DBF")) << table;
    EXPECT_FALSE(folders.WorkFileExists(std::string(table) + ".MDX")) << table;
  }
  // The assignments found the groups written just before them.
  EXPECT_EQ(folders.Rows("ASIGT.DBF", {"NIVEL"}), (std::vector<std::vector<std::string>>{{"ESO"}}));
}

TEST(RunExport, MissingFileEndsOnlyItsOwnConversion) {
  TestFolders folders;
  WriteAllInputs(folders);
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
  EXPECT_EQ(folders.Rows("DIASHORAST.DBF", {"DIHO"}),
            (std::vector<std::vector<std::string>>{{"L1"}}));
}

TEST(RunExport, ReportsEachConversionAsItFinishesInOrder) {
  TestFolders folders;
  WriteAllInputs(folders);
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
  WriteAllInputs(folders);
  folders.WriteRova("rova_asignatcurso.txt",
                    {Columns({{1, "1"}, {2, "ESO"}, {8, "1"}, {24, "MAT"}, {28, "cuatro"}})});
  folders.WriteWorkFile("DIASHORAST.DBF", "the previous table");

  EXPECT_THROW(RunExport(folders.Context()), Error);

  EXPECT_TRUE(folders.messages.events.empty());
  EXPECT_EQ(folders.ReadWorkFile("DIASHORAST.DBF"), "the previous table");
  EXPECT_EQ(folders.Rows("GRUPOST.DBF", {"ABREV"}),
            (std::vector<std::vector<std::string>>{{"1A"}}));
}

}  // namespace
}  // namespace norvalde::exporting
