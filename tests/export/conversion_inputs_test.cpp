// What every conversion does when its input file is missing or cannot be opened: the old table
// is left exactly as it was.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "core/error.h"
#include "export/export.h"
#include "tests/support/error_of.h"
#include "tests/support/faulty_env.h"
#include "tests/support/test_folders.h"

namespace norvalde::exporting {
namespace {

using testing::TestFolders;

struct ConversionCase {
  const char* name;
  void (*convert)(const ExportContext&);
  const char* inputFile;
  const char* missingMessage;
  const char* tableFile;
};
// A case prints as its name, in test listings and failure reports.
void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }

const ConversionCase kConversions[] = {
    {"Asignaturas", ExportarAsignaturas, "rova_asignat.txt",
     "No existe archivo de asignaturas (ROVA_ASIGNAT.TXT)", "ASIGNOMT.DBF"},
    {"Profesores", ExportarProfesores, "rova_prof.txt",
     "No existe archivo de profesores (ROVA_PROF.TXT)", "PROFT.DBF"},
    {"Aulas", ExportarAulas, "rova_aulas.txt", "No existe archivo de aulas (ROVA_AULAS.TXT)",
     "AULAT.DBF"},
    {"Grupos", ExportarGrupos, "rova_grupo.txt", "No existe archivo de grupos (ROVA_GRUPO.TXT)",
     "GRUPOST.DBF"},
    {"AsignaturasGrupos", ExportarAsignaturasGrupos, "rova_asignatgrupo.txt",
     "No existe archivo de grupos (ROVA_ASIGNATGRUPO.TXT)", "ASIGT.DBF"},
    {"Tramos", ExportarTramos, "rova_sesiones.txt",
     "No existe archivo de grupos (ROVA_SESIONES.TXT)", "DIASHORAST.DBF"},
};

class ConversionInputs : public ::testing::TestWithParam<ConversionCase> {
 protected:
  static constexpr const char* kOldTable = "the previous table";
  static constexpr const char* kOldIndex = "the previous index";

  ConversionInputs() {
    folders_.WriteWorkFile(GetParam().tableFile, kOldTable);
    folders_.WriteWorkFile(IndexFile(), kOldIndex);
  }

  std::string IndexFile() const {
    const std::string table = GetParam().tableFile;
    return table.substr(0, table.size() - 4) + ".MDX";
  }

  void ExpectOldTableKept() const {
    EXPECT_EQ(folders_.ReadWorkFile(GetParam().tableFile), kOldTable);
    EXPECT_EQ(folders_.ReadWorkFile(IndexFile()), kOldIndex);
  }

  TestFolders folders_;
};

TEST_P(ConversionInputs, MissingInputShowsItsMessageAndKeepsTheOldTable) {
  GetParam().convert(folders_.Context());
  EXPECT_EQ(folders_.messages.messages, std::vector<std::string>{GetParam().missingMessage});
  ExpectOldTableKept();
}

TEST_P(ConversionInputs, InputThatCannotBeOpenedEndsTheRunAndKeepsTheOldTable) {
  folders_.WriteRova(GetParam().inputFile, {"1"});
  testing::FaultyEnv env;
  env.FailNth(testing::Operation::kOpen, 1, EACCES);  // the input is the first file opened
  EXPECT_THROW(GetParam().convert(folders_.Context(env)), Error);
  EXPECT_TRUE(folders_.messages.messages.empty());
  ExpectOldTableKept();
}

TEST_P(ConversionInputs, AFolderUnderTheTablesNameEndsTheRunNamingIt) {
  folders_.WriteRova(GetParam().inputFile, {"0"});
  std::filesystem::remove(folders_.WorkFile(GetParam().tableFile));
  std::filesystem::create_directory(folders_.WorkFile(GetParam().tableFile));
  EXPECT_EQ(testing::ErrorOf([&] { GetParam().convert(folders_.Context()); }),
            "No se puede crear la tabla \"" + folders_.WorkFile(GetParam().tableFile) +
                "\": en su lugar hay una carpeta con ese nombre");
}

INSTANTIATE_TEST_SUITE_P(EveryConversion, ConversionInputs, ::testing::ValuesIn(kConversions),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace norvalde::exporting
