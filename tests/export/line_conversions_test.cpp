// The four one-pass conversions: subjects, teachers, rooms and groups. The fields each table is
// created with are the work tables' own (tables suite); here, the rows.
#include <gtest/gtest.h>

#include "export/export.h"
#include "tests/support/test_folders.h"

namespace norvalde::exporting {
namespace {

using testing::Columns;
using testing::TestFolders;
using Rows = std::vector<std::vector<std::string>>;

std::string Header(const std::string& fileName) {
  return Columns({{1, "0"}, {2, fileName}, {52, "12345678"}, {60, "010920240800"}});
}
std::string Trailer(const std::string& fileName) {
  return Columns({{1, "9"}, {2, fileName}, {52, "12345678"}, {60, "010920240800"}, {72, "3"}});
}

std::string Subject(const std::string& code, const std::string& longCode, const std::string& name,
                    const std::string& recordType = "1") {
  return Columns({{1, recordType}, {2, code}, {6, longCode}, {26, name}});
}

TEST(SubjectsConversion, KeepsTheFirstLineOfEachCodeInFileOrder) {
  TestFolders folders;
  folders.WriteWorkFile("ASIGNOMT.DBF", "an older table of other fields");
  folders.WriteWorkFile("ASIGNOMT.MDX", "an index");
  folders.WriteRova("rova_asignat.txt", {
      Header("ROVA_ASIGNAT.TXT"),
      Subject("MAT", "MAT-ESO-01", "Matem\xE1ticas"),
      Subject("LEN", "LEN", std::string(60, 'L')),
      Subject("mat", "OTRO", "Otra"),                  // MAT again, case ignored
      Subject("\xC1LG", "ALG", "\xC1lgebra"),
      Subject("\xE1lg", "X", "Y"),                     // the accented code again
      Subject("ALG", "SIN", "Sin acento"),             // accents count
      Columns({{1, "1"}, {2, "  rova_Asignat.TXT"}}),  // guard, any case and blanks
      Columns({{1, "0"}, {2, "HIS"}}),                 // header type, whatever it holds
      Columns({{1, "9"}, {2, "GEO"}}),                 // trailer type
      Subject("BIO", "B", "Biolog\xED" "a", " "),         // a blank type is a detail line
      "",                                              // empty line: all fields empty
      "",                                              // ...and again: a duplicate
      Subject("", "Z", "Z"),                           // blank code: also a duplicate
      Trailer("ROVA_ASIGNAT.TXT"),
  });

  ExportarAsignaturas(folders.Context());

  EXPECT_TRUE(folders.messages.messages.empty());
  EXPECT_FALSE(folders.WorkFileExists("ASIGNOMT.MDX"));
  EXPECT_EQ(folders.Rows("ASIGNOMT.DBF", {"COD", "CODLARGO", "NOMBRE", "MATERIA"}),
            (Rows{
                {"MAT", "MAT-ESO-", "Matem\xE1ticas", ""},
                {"LEN", "LEN", std::string(40, 'L'), ""},
                {"\xC1LG", "ALG", "\xC1lgebra", ""},
                {"ALG", "SIN", "Sin acento", ""},
                {"BIO", "B", "Biolog\xED" "a", ""},
                {"", "", "", ""},
            }));
}

// Byte order: upper and lower case are different codes.
class ByteOrder : public platform::Collation {
 public:
  int CompareCodes(const std::string& a, const std::string& b) override { return a.compare(b); }
};

TEST(SubjectsConversion, FiltersDuplicatesByTheContextsCollation) {
  TestFolders folders;
  folders.WriteRova("rova_asignat.txt", {Subject("MAT", "A", "A"), Subject("mat", "B", "B"),
                                         Subject("MAT", "C", "C")});
  ByteOrder byteOrder;
  const ExportContext usual = folders.Context();
  ExportarAsignaturas(
      ActionContext{usual.env, usual.carpeta, usual.workFolder, usual.messages, byteOrder});
  EXPECT_EQ(folders.Rows("ASIGNOMT.DBF", {"COD", "CODLARGO"}),
            (Rows{{"MAT", "A"}, {"mat", "B"}}));
}

TEST(TeachersConversion, KeepsTheFirstNameAndDepartmentOfAnAbbreviation) {
  TestFolders folders;
  auto teacher = [](const std::string& abbreviation, const std::string& name,
                    const std::string& department) {
    return Columns({{1, "1"}, {2, abbreviation}, {6, name}, {96, department}});
  };
  // Named in upper case on disk: input files are found ignoring case.
  folders.WriteRova("Rova_Prof.TXT", {
      Header("ROVA_PROF.TXT"),
      teacher("ANA", "Ana Ruiz", "Ciencias"),
      teacher("ana", "Ana Otra", "Letras"),
      Columns({{1, "1"}, {2, "LUIS"}, {6, "Luis Pe\xF1" "a"}}),  // ends before the department
      Columns({{1, "1"}, {2, "rova_asignat.txt"}}),             // another file's guard: a row
      Columns({{1, "1"}, {2, "ROVA_PROF.TXT"}}),
      teacher("EVA", std::string(90, 'N'), std::string(50, 'D')),
      Trailer("ROVA_PROF.TXT"),
  });

  ExportarProfesores(folders.Context());

  EXPECT_EQ(folders.Rows("PROFT.DBF", {"ABREV", "NOMBRE", "DEPART", "DNI", "X_EMPLEADO",
                                       "F_TOMAPOS"}),
            (Rows{
                {"ANA", "Ana Ruiz", "Ciencias", "", "", ""},
                {"LUIS", "Luis Pe\xF1" "a", "", "", "", ""},
                {"rova", "_asignat.txt", "", "", "", ""},
                {"EVA", std::string(40, 'N'), std::string(40, 'D'), "", "", ""},
            }));
}

TEST(RoomsConversion, KeepsEveryDetailLine) {
  TestFolders folders;
  auto room = [](const std::string& abbreviation, const std::string& name) {
    return Columns({{1, "1"}, {12, abbreviation}, {86, name}});
  };
  folders.WriteRova("rova_aulas.txt", {
      Header("ROVA_AULAS.TXT"),
      room("A1", "Aula 1"),
      room("A1", "Aula uno"),
      "",
      "",
      Columns({{1, "1"}, {2, "rova_aulas.txt"}}),
      room("LAB", std::string(60, 'x')),
      Trailer("ROVA_AULAS.TXT"),
  });

  ExportarAulas(folders.Context());

  EXPECT_EQ(folders.Rows("AULAT.DBF", {"ABREV", "NOMBRE", "EDIFICIO", "MAXALUM", "DEPCENTRO"}),
            (Rows{
                {"A1", "Aula 1", "", "", ""},
                {"A1", "Aula uno", "", "", ""},
                {"", "", "", "", ""},
                {"", "", "", "", ""},
                {"LAB", std::string(40, 'x'), "", "", ""},
            }));
}

TEST(GroupsConversion, DerivesLevelPlaceholderAndGroupLetter) {
  TestFolders folders;
  auto group = [](const std::string& unit, const std::string& abbreviation,
                  const std::string& level, const std::string& course, const std::string& shift) {
    return Columns({{1, "1"}, {2, unit}, {12, abbreviation}, {16, level}, {22, course},
                    {35, shift}});
  };
  folders.WriteRova("rova_grupo.txt", {
      Header("ROVA_GRUPO.TXT"),
      group("1ESOA", "1A", "ESO", "1", "M  "),
      group("2BACH-B", "2B", "BAC", "2", "TAR"),
      group("C", "C", "", "3", "  T"),
      group("", "X", "ESO", "4", ""),
      group("1ESOA", "1A", "ESO", "1", "T"),                 // repeated groups are kept
      Columns({{1, "1"}, {2, "ROVA_GRUPO.TXT"}}),             // not this file's guard
      Columns({{1, "1"}, {2, "rova_grupos.txt"}}),            // the guard, with an S
      "",
      Trailer("ROVA_GRUPO.TXT"),
  });

  ExportarGrupos(folders.Context());

  const std::vector<std::string> fields{"ABREV", "TURNO", "NIVEL", "CURSO", "GRUPO", "UNIDAD"};
  EXPECT_EQ(folders.Rows("GRUPOST.DBF", fields),
            (Rows{
                {"1A", "M", "ESO", "1", "A", "1ESOA"},
                {"2B", "T", "BAC", "2", "B", "2BACH-B"},
                {"C", "T", "NIV", "3", "C", "C"},
                {"X", "", "ESO", "4", "", ""},
                {"1A", "T", "ESO", "1", "A", "1ESOA"},
                {".TXT", "", "NIV", "", "O", "ROVA_GRUPO"},
                {"", "", "NIV", "", "", ""},
            }));
}

}  // namespace
}  // namespace norvalde::exporting
