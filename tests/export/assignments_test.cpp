// The assignments conversion: its rows, the group data from GRUPOST, the weekly hours and the
// session pattern, and what each failure leaves behind.
#include <gtest/gtest.h>

#include <tuple>

#include "core/error.h"
#include "export/export.h"
#include "tables/table.h"
#include "tests/support/error_of.h"
#include "tests/support/test_folders.h"

namespace norvalde::exporting {
namespace {

using testing::Columns;
using testing::TestFolders;
using Rows = std::vector<std::vector<std::string>>;

std::string Group(const std::string& unit, const std::string& abbreviation,
                  const std::string& level, const std::string& course, const std::string& shift) {
  return Columns({{1, "1"}, {2, unit}, {12, abbreviation}, {16, level}, {22, course}, {35, shift}});
}
std::string Assignment(const std::string& group, const std::string& subject) {
  return Columns({{1, "1"}, {12, group}, {16, subject}});
}
std::string CourseHours(const std::string& level, const std::string& course,
                        const std::string& subject, const std::string& hours,
                        const std::string& recordType = "1") {
  return Columns({{1, recordType}, {2, level}, {8, course}, {24, subject}, {28, hours}});
}

const std::vector<std::string> kGroupFields{"CASIG", "CPROF", "CGRUP", "CAULA",
                                            "TURNO", "NIVEL", "CURSO", "GRUPO"};
const std::vector<std::string> kHourFields{"CASIG", "HORAS", "SESIONES"};

// Runs the groups and then the assignments conversion, as the Export does.
void ExportGroupsAndAssignments(TestFolders& folders) {
  ExportarGrupos(folders.Context());
  ExportarAsignaturasGrupos(folders.Context());
}

TEST(AssignmentsConversion, TakesGroupDataAndHoursFromTheFirstMatch) {
  TestFolders folders;
  folders.WriteRova("rova_grupo.txt", {
      Group("1ESOA", "AB", "ESO", "1", "MAN"),
      Group("1ESOB", "AB", "BAC", "2", "TAR"),  // a repeated group: the first one counts
      Group("3ESOC", "G3", "", "3", "M"),
  });
  folders.WriteRova("rova_asignatgrupo.txt", {
      Columns({{1, "0"}, {2, "ROVA_ASIGNATGRUPO.TXT"}}),
      Columns({{1, "1"}, {2, "rova_asignatgrupo.txt"}}),
      Assignment("AB", "MAT"),
      Assignment("AB", "MAT"),  // the same pair twice: two rows alike
      Assignment("ab", "MAT"),  // group codes match with case
      Assignment("ZZ", "FIS"),  // no such group: empty level and course
      Assignment("G3", "ING"),  // level placeholder NIV
      Assignment("G3", "LEN"),
      Assignment("AB", "LEN"),
      Columns({{1, "9"}, {2, "ROVA_ASIGNATGRUPO.TXT"}}),
  });
  folders.WriteRova("rova_asignatcurso.txt", {
      CourseHours("ESO", "1", "MAT", "9", "0"),  // a header holding matching fields
      CourseHours("ESO", "1", "MAT", "4"),
      CourseHours("", "", "FIS", "2"),
      CourseHours("NIV", "3", "ING", "2,5"),
      CourseHours("niv", "3", "LEN", "5"),  // levels match with case
      CourseHours("ESO", "1", "LEN", "3"),
      CourseHours("ESO", "1", "LEN", "6"),  // a second line for the same course: ignored
      CourseHours("ESO", "1", "MAT", "7", "9"),
  });

  ExportGroupsAndAssignments(folders);

  EXPECT_TRUE(folders.messages.messages.empty());
  EXPECT_EQ(folders.FieldNames("ASIGT.DBF"),
            (std::vector<std::string>{"CASIG", "CPROF", "CGRUP", "CAULA", "TURNO", "NIVEL",
                                      "CURSO", "GRUPO", "HORAS", "SESIONES"}));
  EXPECT_EQ(folders.Rows("ASIGT.DBF", kGroupFields),
            (Rows{
                {"MAT", "", "AB", "", "M", "ESO", "1", "A"},
                {"MAT", "", "AB", "", "M", "ESO", "1", "A"},
                {"MAT", "", "ab", "", "", "", "", ""},
                {"FIS", "", "ZZ", "", "", "", "", ""},
                {"ING", "", "G3", "", "M", "NIV", "3", "C"},
                {"LEN", "", "G3", "", "M", "NIV", "3", "C"},
                {"LEN", "", "AB", "", "M", "ESO", "1", "A"},
            }));
  EXPECT_EQ(folders.Rows("ASIGT.DBF", kHourFields),
            (Rows{
                {"MAT", "4", "1111"},
                {"MAT", "4", "1111"},
                {"MAT", "1", "1"},
                {"FIS", "2", "11"},
                {"ING", "2.5", "11\xBD"},
                {"LEN", "1", "1"},
                {"LEN", "3", "111"},
            }));
}

TEST(AssignmentsConversion, HoursAndSessionPatternsFollowTheWorkedValues) {
  struct Case {
    std::string hoursField;
    std::string horas;
    std::string sesiones;
  };
  const std::string thirteen(13, '1');
  const std::vector<Case> cases{
      {"", "1", "1"},           {"      ", "1", "1"},
      {"3", "3", "111"},        {"2,5", "2.5", "11\xBD"},
      {"2.5", "2.5", "11\xBD"}, {"1,25", "1.25", "1\xBD"},
      {"2,99", "2.99", "11\xBD"}, {"0", "1", "1"},
      {"0,5", "1", "1"},        {"-3", "1", "1"},
      {"13", "13", thirteen},   {"14", "14", "1" + thirteen},
      {"15", "15", "2" + thirteen}, {"15,5", "15.5", "2" + thirteen + "\xBD"},
      {"20", "20", "7" + thirteen}, {"25", "25", "12" + thirteen},
      {"+4", "4", "1111"},      {"1E1", "10", "1111111111"},
      {"1e-400", "1", "1"},     {"1E-999", "1", "1"},  // below the smallest double: 0
  };
  TestFolders folders;
  folders.WriteRova("rova_grupo.txt", {Group("1ESOA", "G1", "ESO", "1", "M")});
  std::vector<std::string> assignments;
  std::vector<std::string> courseHours{Columns({{1, "1"}, {2, "ESO"}, {8, "1"}, {24, "S99"}})};
  Rows expected;
  for (size_t index = 0; index < cases.size(); ++index) {
    const std::string subject = "S" + std::to_string(index);
    assignments.push_back(Assignment("G1", subject));
    courseHours.push_back(CourseHours("ESO", "1", subject, cases[index].hoursField));
    expected.push_back({subject, cases[index].horas, cases[index].sesiones});
  }
  assignments.push_back(Assignment("G1", "S99"));  // its line ends before the hours
  expected.push_back({"S99", "1", "1"});
  folders.WriteRova("rova_asignatgrupo.txt", assignments);
  folders.WriteRova("rova_asignatcurso.txt", courseHours);

  ExportGroupsAndAssignments(folders);

  EXPECT_EQ(folders.Rows("ASIGT.DBF", kHourFields), expected);
}

// `text` with the path of the work table `name` in it written as `name`.
std::string WithTableName(std::string text, const TestFolders& folders, const std::string& name) {
  const std::string path = folders.WorkFile(name);
  if (const size_t at = text.find(path); at != std::string::npos) {
    text.replace(at, path.size(), name);
  }
  return text;
}

// An hours text that is no number, or whose number does not fit in HORAS, ends the run at the
// first row that takes it, which keeps no hours; so do the rows after it.
TEST(AssignmentsConversion, BadHoursTextEndsTheRunAtItsRow) {
  const struct {
    std::string hours, error;
  } cases[] = {
      {"2 h", "'2 h' no es un valor punto flotante válido"},
      {"1E20", "No se puede escribir en la tabla \"ASIGT.DBF\": el valor 1e+20 no cabe en el "
               "campo 'HORAS'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hours);
    TestFolders folders;
    folders.WriteRova("rova_grupo.txt", {Group("1ESOA", "G1", "ESO", "1", "M")});
    folders.WriteRova("rova_asignatgrupo.txt",
                      {Assignment("G1", "H1"), Assignment("G1", "H2"), Assignment("G1", "H3")});
    folders.WriteRova("rova_asignatcurso.txt", {CourseHours("ESO", "1", "H1", "2"),
                                                CourseHours("ESO", "1", "H2", c.hours),
                                                CourseHours("ESO", "1", "H3", "3")});
    ExportarGrupos(folders.Context());
    const std::string error =
        testing::ErrorOf([&] { ExportarAsignaturasGrupos(folders.Context()); });
    EXPECT_EQ(WithTableName(error, folders, "ASIGT.DBF"), c.error);
    EXPECT_EQ(folders.Rows("ASIGT.DBF", kHourFields),
              (Rows{{"H1", "2", "11"}, {"H2", "", ""}, {"H3", "", ""}}));
  }
}

TEST(AssignmentsConversion, MissingCourseHoursLeaveHoursEmptyAndTheTableClosed) {
  TestFolders folders;
  folders.WriteRova("rova_grupo.txt", {Group("1ESOA", "G1", "ESO", "1", "M")});
  folders.WriteRova("rova_asignatgrupo.txt", {Assignment("G1", "MAT"), Assignment("G2", "LEN")});
  const Rows expected{{"MAT", "", "G1", "", "M", "ESO", "1", "A", "", ""},
                      {"LEN", "", "G2", "", "", "", "", "", "", ""}};
  std::vector<std::string> fields = kGroupFields;
  fields.insert(fields.end(), {"HORAS", "SESIONES"});

  // A second run re-creates the table as the first did, so the first left it closed.
  for (int run = 1; run <= 2; ++run) {
    ExportGroupsAndAssignments(folders);
    EXPECT_EQ(folders.Rows("ASIGT.DBF", fields), expected) << "run " << run;
  }
  EXPECT_EQ(folders.messages.messages,
            std::vector<std::string>(2, "No existe archivo de grupos (ROVA_ASIGNATCURSO.TXT)"));
}

TEST(AssignmentsConversion, OnlyHeaderAndTrailerGiveAnEmptyTableYetNeedTheCourseHours) {
  TestFolders folders;
  folders.WriteRova("rova_grupo.txt", {Group("1ESOA", "G1", "ESO", "1", "M")});
  folders.WriteRova("rova_asignatgrupo.txt", {Columns({{1, "0"}, {2, "ROVA_ASIGNATGRUPO.TXT"}}),
                                              Columns({{1, "9"}, {2, "ROVA_ASIGNATGRUPO.TXT"}})});
  ExportGroupsAndAssignments(folders);
  EXPECT_TRUE(folders.Rows("ASIGT.DBF", kHourFields).empty());
  EXPECT_EQ(folders.messages.messages,
            std::vector<std::string>{"No existe archivo de grupos (ROVA_ASIGNATCURSO.TXT)"});
}

TEST(AssignmentsConversion, MissingGroupsTableEndsTheRunAfterTheAssignmentRows) {
  TestFolders folders;
  folders.WriteRova("rova_asignatgrupo.txt", {Assignment("G1", "MAT")});
  folders.WriteRova("rova_asignatcurso.txt", {CourseHours("ESO", "1", "MAT", "3")});
  EXPECT_THROW(ExportarAsignaturasGrupos(folders.Context()), Error);
  EXPECT_EQ(folders.Rows("ASIGT.DBF", kGroupFields),
            (Rows{{"MAT", "", "G1", "", "", "", "", ""}}));
}

// A GRUPOST left from an earlier program: ABREV and the given fields, one row per group, each
// value the field's first letter and the row ("N1" for NIVEL), except TURNO when it is a number
// field: 7, or text that is not a number where `damaged` names the row (0-based).
void WriteOldGroups(TestFolders& folders, const std::vector<std::string>& abbreviations,
                    const std::vector<std::string>& fields, bool numericTurno = false,
                    int damaged = -1) {
  std::vector<tables::FieldDefinition> definitions{{"ABREV", tables::FieldType::kText, 5}};
  for (const std::string& field : fields) {
    const bool number = numericTurno && field == "TURNO";
    definitions.push_back({field, number ? tables::FieldType::kNumber : tables::FieldType::kText,
                           number ? 0 : 10});
  }
  tables::Table::Create(platform::Env::Default(), folders.workFolder(), "GRUPOST.DBF",
                        definitions);
  tables::Table table(platform::Env::Default());
  table.Open(folders.workFolder(), "GRUPOST", tables::Sharing::kExclusive,
             tables::Access::kReadWrite);
  for (size_t row = 0; row < abbreviations.size(); ++row) {
    table.Append();
    table.SetText("ABREV", abbreviations[row]);
    for (const std::string& field : fields) {
      if (numericTurno && field == "TURNO") {
        table.SetNumber(field, static_cast<int>(row) == damaged ? 424242 : 7);
      } else {
        table.SetText(field, field.substr(0, 1) + std::to_string(row));
      }
    }
    table.Post();
  }
  table.Close();
  if (damaged < 0) return;
  // The one number 424242 in the file becomes text no reader takes for a number.
  std::string bytes = folders.ReadWorkFile("GRUPOST.DBF");
  const size_t at = bytes.find("424242");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 6, "42x4?2");
  folders.WriteWorkFile("GRUPOST.DBF", bytes);
}

// The conversion's error, the path of GRUPOST in it written "GRUPOST.DBF".
std::string ConversionError(TestFolders& folders) {
  return WithTableName(testing::ErrorOf([&] { ExportarAsignaturasGrupos(folders.Context()); }),
                       folders, "GRUPOST.DBF");
}

// GRUPOST's copied fields are read only at the first row of the group that an assignment
// takes: an old GRUPOST without TURNO, or with a value that cannot be read, fails only the
// assignment that takes that group, after the rows before it have their group data.
TEST(AssignmentsConversion, ReadsGroupFieldsOnlyWhereAnAssignmentTakesThem) {
  const std::vector<std::string> withoutTurno{"NIVEL", "CURSO", "GRUPO"};
  const std::vector<std::string> all{"TURNO", "NIVEL", "CURSO", "GRUPO"};
  struct Case {
    const char* name;
    std::vector<std::string> abbreviations, fields;  // of the old GRUPOST (WriteOldGroups)
    bool numericTurno;
    int damaged;
    std::vector<std::string> assignments;  // group and subject, in pairs
    std::string hoursLine;                 // the one line of rova_asignatcurso.txt
    std::string error;
    Rows rows;  // CASIG, CGRUP, TURNO, NIVEL, CURSO, GRUPO, HORAS and SESIONES
  };
  const Case cases[] = {
      {"no TURNO, and no assignment takes a group",
       {"G1", "G2"}, withoutTurno, false, -1,
       {"ZZ", "MAT", "g1", "LEN"},
       CourseHours("", "", "MAT", "3"),
       "<no error>",
       {{"MAT", "ZZ", "", "", "", "", "3", "111"}, {"LEN", "g1", "", "", "", "", "1", "1"}}},
      {"no TURNO, and an assignment takes a group",
       {"G1", "G2"}, withoutTurno, false, -1,
       {"ZZ", "MAT", "G2", "LEN", "G1", "FIS"},
       CourseHours("", "", "MAT", "3"),
       "No se encuentra el campo 'TURNO'",
       {{"MAT", "ZZ", "", "", "", "", "", ""},
        {"LEN", "G2", "", "", "", "", "", ""},
        {"FIS", "G1", "", "", "", "", "", ""}}},
      // The damaged row repeats G1, so no walk reaches it; G3 is taken by no assignment.
      {"a damaged value no walk reaches",
       {"G1", "G1", "G2", "G3"}, all, true, 1,
       {"G1", "MAT", "G2", "LEN"},
       CourseHours("N0", "C0", "MAT", "3"),
       "<no error>",
       {{"MAT", "G1", "7", "N0", "C0", "G0", "3", "111"},
        {"LEN", "G2", "7", "N2", "C2", "G2", "1", "1"}}},
      {"a damaged value an assignment takes",
       {"G1", "G2", "G3"}, all, true, 2,
       {"G1", "MAT", "G3", "LEN", "G2", "FIS"},
       CourseHours("N0", "C0", "MAT", "3"),
       "La tabla \"GRUPOST.DBF\" está dañada: el campo 'TURNO' contiene '42x4?2.000000', "
       "que no es un número",
       {{"MAT", "G1", "7", "N0", "C0", "G0", "", ""},
        {"LEN", "G3", "", "", "", "", "", ""},
        {"FIS", "G2", "", "", "", "", "", ""}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolders folders;  // no rova_grupo.txt: GRUPOST is the old one
    WriteOldGroups(folders, c.abbreviations, c.fields, c.numericTurno, c.damaged);
    std::vector<std::string> assignments;
    for (size_t i = 0; i + 1 < c.assignments.size(); i += 2) {
      assignments.push_back(Assignment(c.assignments[i], c.assignments[i + 1]));
    }
    folders.WriteRova("rova_asignatgrupo.txt", assignments);
    folders.WriteRova("rova_asignatcurso.txt", {c.hoursLine});
    EXPECT_EQ(ConversionError(folders), c.error);
    EXPECT_EQ(folders.Rows("ASIGT.DBF", {"CASIG", "CGRUP", "TURNO", "NIVEL", "CURSO", "GRUPO",
                                         "HORAS", "SESIONES"}),
              c.rows);
  }
}

// An older GRUPOST whose CURSO is a number: it is copied into ASIGT as text with the user's
// decimal separator, and the hours are those of the course line that writes it the same way.
TEST(AssignmentsConversion, ANumericCourseIsCopiedWithTheUsersDecimalSeparator) {
  for (const auto& [separator, curso, horas] :
       {std::tuple{',', "1,5", "4"}, std::tuple{'.', "1.5", "2"}}) {
    TestFolders folders;  // no rova_grupo.txt: GRUPOST is the old one
    platform::Env& env = platform::Env::Default();
    tables::Table::Create(env, folders.workFolder(), "GRUPOST.DBF",
                          {{"ABREV", tables::FieldType::kText, 4},
                           {"TURNO", tables::FieldType::kText, 1},
                           {"NIVEL", tables::FieldType::kText, 5},
                           {"CURSO", tables::FieldType::kNumber},
                           {"GRUPO", tables::FieldType::kText, 2}});
    tables::Table grupost(env);
    grupost.Open(folders.workFolder(), "GRUPOST", tables::Sharing::kExclusive,
                 tables::Access::kReadWrite);
    grupost.Append();
    grupost.SetText("ABREV", "G1");
    grupost.SetText("NIVEL", "ESO");
    grupost.SetNumber("CURSO", 1.5);
    grupost.Post();
    grupost.Close();
    folders.WriteRova("rova_asignatgrupo.txt", {Assignment("G1", "MAT")});
    folders.WriteRova("rova_asignatcurso.txt", {CourseHours("ESO", "1.5", "MAT", "2"),
                                                CourseHours("ESO", "1,5", "MAT", "4")});
    ActionContext context = folders.Context();
    context.decimalSeparator = separator;

    ExportarAsignaturasGrupos(context);

    EXPECT_EQ(folders.Rows("ASIGT.DBF", {"CURSO", "HORAS"}), (Rows{{curso, horas}}));
  }
}

// The hours text of a course line is converted only when a row takes it: a bad one that no
// row takes, or that stands after the first line of its course, never fails the run.
TEST(AssignmentsConversion, ConvertsHoursOnlyWhereARowTakesThem) {
  TestFolders folders;
  folders.WriteRova("rova_grupo.txt", {Group("1ESOA", "G1", "ESO", "1", "M")});
  folders.WriteRova("rova_asignatgrupo.txt",
                    {Assignment("G1", "MAT"), Assignment("G1", "LEN"), Assignment("G1", "MAT")});
  folders.WriteRova("rova_asignatcurso.txt", {CourseHours("ESO", "1", "MAT", "2,5"),
                                              CourseHours("ESO", "1", "MAT", "2 h"),
                                              CourseHours("ESO", "2", "LEN", "x"),
                                              CourseHours("ESO", "1", "LEN", "3")});
  ExportGroupsAndAssignments(folders);
  EXPECT_EQ(folders.Rows("ASIGT.DBF", kHourFields),
            (Rows{{"MAT", "2.5", "11\xBD"}, {"LEN", "3", "111"}, {"MAT", "2.5", "11\xBD"}}));
}

}  // namespace
}  // namespace norvalde::exporting
