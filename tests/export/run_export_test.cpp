// The whole Export: the six conversions in order, the closing message, a missing file in the
// middle of the run, an error that ends it, and the order of the file steps of each conversion.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "export/export.h"
#include "platform/error.h"
#include "tests/export/export_folders.h"
#include "tests/support/recording_message_sink.h"

namespace norvalde::exporting {
namespace {

using testing::Columns;
using testing::ExportFolders;
using testing::RecordingMessageSink;

const char* const kTables[] = {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"};

void WriteAllInputs(const ExportFolders& folders) {
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
  ExportFolders folders;
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
  EXPECT_EQ(folders.Rows("ASIGT.DBF", {"CASIG", "NIVEL", "HORAS", "SESIONES"}),
            (std::vector<std::vector<std::string>>{{"MAT", "ESO", "4", "1111"}}));
  EXPECT_EQ(folders.Rows("DIASHORAST.DBF", {"DIHO", "MINUTOS"}),
            (std::vector<std::vector<std::string>>{{"L1", "55"}}));
}

TEST(RunExport, MissingFileEndsOnlyItsOwnConversion) {
  ExportFolders folders;
  WriteAllInputs(folders);
  std::filesystem::remove(folders.rovaFolder() + "/rova_aulas.txt");
  folders.WriteWorkFile("AULAT.DBF", "the previous table");

  RunExport(folders.Context());

  EXPECT_EQ(folders.messages.events,
            (std::vector<std::string>{"No existe archivo de aulas (ROVA_AULAS.TXT)",
                                      RecordingMessageSink::kCursorRestored,
                                      "Proceso finalizado"}));
  EXPECT_EQ(folders.ReadWorkFile("AULAT.DBF"), "the previous table");
  EXPECT_EQ(folders.Rows("DIASHORAST.DBF", {"DIHO"}),
            (std::vector<std::vector<std::string>>{{"L1"}}));
}

TEST(RunExport, ErrorEndsTheRunBeforeLaterConversionsAndTheClosingMessage) {
  ExportFolders folders;
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

// Notes, in order, which input was opened and which table file was first deleted or written.
class StepRecordingEnv : public platform::EnvWrapper {
 public:
  StepRecordingEnv() : EnvWrapper(platform::Env::Default()) {}
  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override {
    Note(path);
    return EnvWrapper::Open(path, mode, file);
  }
  int DeleteFile(const std::string& path) override {
    Note(path);
    return EnvWrapper::DeleteFile(path);
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    Note(to);
    return EnvWrapper::RenameFile(from, to);
  }
  // The position of the first step on `name`, or the number of steps when there was none.
  size_t First(const std::string& name) const {
    return std::find(steps_.begin(), steps_.end(), name) - steps_.begin();
  }

 private:
  void Note(const std::string& path) {
    steps_.push_back(std::filesystem::path(path).filename().string());
  }
  std::vector<std::string> steps_;
};

TEST(RunExport, EachConversionOpensItsInputBeforeTouchingItsTable) {
  ExportFolders folders;
  WriteAllInputs(folders);
  for (const char* table : kTables) folders.WriteWorkFile(std::string(table) + ".DBF", "old");
  StepRecordingEnv env;

  RunExport(folders.Context(env));

  const std::pair<const char*, const char*> inputAndTable[] = {
      {"rova_asignat.txt", "ASIGNOMT.DBF"}, {"rova_prof.txt", "PROFT.DBF"},
      {"rova_aulas.txt", "AULAT.DBF"},      {"rova_grupo.txt", "GRUPOST.DBF"},
      {"rova_asignatgrupo.txt", "ASIGT.DBF"}, {"rova_sesiones.txt", "DIASHORAST.DBF"},
  };
  for (size_t index = 0; index < std::size(inputAndTable); ++index) {
    const auto& [input, table] = inputAndTable[index];
    EXPECT_LT(env.First(input), env.First(table)) << input;
    if (index > 0) {
      EXPECT_LT(env.First(inputAndTable[index - 1].second), env.First(input))
          << input << " opened before the previous conversion wrote its table";
    }
  }
}

}  // namespace
}  // namespace norvalde::exporting
