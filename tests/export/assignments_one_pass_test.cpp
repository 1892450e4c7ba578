// The assignments conversion writes each ASIGT row once; what it leaves must be what four passes
// over the table leave (assignment_passes_walk.h), byte for byte after the header's date: after
// a clean run, and after a failure in each pass at the first, a middle and the last row, or at
// a value no row reaches. The data is generated: eight thousand rows, three blocks of the
// table's cache, with repeated groups and subjects, missing groups and missing hours, and codes,
// levels and courses that differ only in case, leading blanks or width, so that the clean run
// checks that the lookups find what a walk from the start finds.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "core/error.h"
#include "export/export.h"
#include "tables/table.h"
#include "tests/export/assignment_passes_walk.h"
#include "tests/support/faulty_env.h"
#include "tests/support/test_folders.h"

namespace norvalde::exporting {
namespace {

using norvalde::testing::Columns;
using norvalde::testing::Operation;
using norvalde::testing::TestFolders;

constexpr int kRows = 8000;  // the cache holds 3,855 ASIGT rows: three blocks
// Levels and courses as GRUPOST and the course-hours file may hold them. A course-hours field is
// read trimmed and three columns wide, so its " 1" is "1" and its "ESOX" is "ESO", while GRUPOST
// keeps both.
const char* const kLevels[] = {"ESO", "BAC", "NIV", "eso", "niv", "", "ESOX"};
const char* const kCourses[] = {"1", "2", "3", "01", " 1", ""};
const char* const kHours[] = {"3", "2,5", "1",  "0", "",    "15",  "1,25",
                              "-3", "25", "4.5", "2", "3.5", "14", "15,5"};
// Groups beside G00..G29 whose codes differ from theirs in case, leading blanks or width. The
// assignments file is read trimmed, so its " G02" is G02 and no row takes GRUPOST's " G02".
const char* const kOddGroups[] = {"g01", " G02", "G3"};
const char* const kOddAssignmentGroups[] = {"g01", "g02", " G02", "G3"};
// Subjects beside S00..S39 that differ from S05 in case, width or a trailing blank.
const char* const kOddSubjects[] = {"s05", "S5", "S05 "};

template <typename T, size_t n>
const T& Pick(std::mt19937& random, const T (&pool)[n]) {
  return pool[random() % n];
}

// What to generate and what to break.
struct Plan {
  const char* name = "";
  int damagedGroupRow = -2;  // first row of the group whose GRUPO cannot be read; -1: no row
  int badHoursRow = -2;      // first row of the subject whose hours read "2 h"; -1: no row
  bool withoutGrupost = false;
  bool withoutCourseHours = false;
  std::optional<std::tuple<const char*, Operation, int>> fault = std::nullopt;  // file, op., nth
};

// GRUPOST as an earlier program might leave it: GRUPO a number field. The damaged group's
// GRUPO holds a letter, so reading it fails.
void WriteGrupost(const TestFolders& folders, const Plan& plan) {
  using tables::FieldType;
  tables::Table::Create(platform::Env::Default(), folders.workFolder(), "GRUPOST.DBF",
                        {{"ABREV", FieldType::kText, 4}, {"TURNO", FieldType::kText, 1},
                         {"NIVEL", FieldType::kText, 5}, {"CURSO", FieldType::kText, 3},
                         {"GRUPO", FieldType::kInteger}, {"UNIDAD", FieldType::kText, 10}});
  tables::Table grupost(platform::Env::Default());
  grupost.Open(folders.workFolder(), "GRUPOST", tables::Sharing::kExclusive,
               tables::Access::kReadWrite);
  // G00..G29, then GX, then the odd groups; G07 twice: the first counts.
  for (int g = 0; g < 31 + static_cast<int>(std::size(kOddGroups)); ++g) {
    grupost.Append();
    grupost.SetText("ABREV", g < 30    ? "G" + std::to_string(100 + g).substr(1)
                             : g == 30 ? "GX"
                                       : kOddGroups[g - 31]);
    grupost.SetText("TURNO", g % 2 ? "M" : "TAR");
    grupost.SetText("NIVEL", kLevels[g % std::size(kLevels)]);
    grupost.SetText("CURSO", kCourses[(g + g / 6) % std::size(kCourses)]);
    grupost.SetNumber("GRUPO", g % 9 + 1);
    grupost.Post();
    if (g == 7) {
      grupost.Append();
      grupost.SetText("ABREV", "G07");
      grupost.SetText("NIVEL", "BAC");
      grupost.Post();
    }
  }
  grupost.Close();
  if (plan.damagedGroupRow == -2) return;
  std::string bytes = folders.ReadWorkFile("GRUPOST.DBF");
  auto word = [&](size_t at) {
    return static_cast<size_t>(static_cast<unsigned char>(bytes[at]) |
                               static_cast<unsigned char>(bytes[at + 1]) << 8);
  };
  const size_t header = word(8), length = word(10);
  bytes[header + 31 * length + 1 + 4 + 1 + 5 + 3 + 10] = 'x';  // GX is the 32nd row
  folders.WriteWorkFile("GRUPOST.DBF", bytes);
}

void WriteInputs(const TestFolders& folders, const Plan& plan) {
  if (!plan.withoutGrupost) WriteGrupost(folders, plan);
  std::mt19937 random(20261210);
  std::vector<std::string> assignments{Columns({{1, "0"}, {2, "ROVA_ASIGNATGRUPO.TXT"}})};
  for (int row = 0; row < kRows; ++row) {
    const unsigned kind = random() % 20;
    std::string group = kind == 0   ? "ZZ"
                        : kind == 1 ? Pick(random, kOddAssignmentGroups)
                                    : "G" + std::to_string(100 + random() % 30).substr(1);
    std::string subject = random() % 10 == 0 ? Pick(random, kOddSubjects)
                                             : "S" + std::to_string(100 + random() % 40).substr(1);
    if (plan.damagedGroupRow >= 0 && row >= plan.damagedGroupRow &&
        (row == plan.damagedGroupRow || random() % 7 == 0))
      group = "GX";
    if (plan.badHoursRow >= 0 && row >= plan.badHoursRow &&
        (row == plan.badHoursRow || random() % 5 == 0))
      subject = "BAD";
    if (row == plan.badHoursRow) group = "G00";  // its level and course have hours lines
    assignments.push_back(Columns({{1, "1"}, {12, group}, {16, subject}}));
  }
  assignments.push_back(Columns({{1, "9"}, {2, "ROVA_ASIGNATGRUPO.TXT"}}));
  folders.WriteRova("rova_asignatgrupo.txt", assignments);
  if (plan.withoutCourseHours) return;

  std::vector<std::string> courseHours{Columns({{1, "0"}, {2, "ROVA_ASIGNATCURSO.TXT"}})};
  std::vector<std::string> subjects(std::begin(kOddSubjects), std::end(kOddSubjects));
  for (int s = 0; s < 40; ++s) subjects.push_back("S" + std::to_string(100 + s).substr(1));
  for (const std::string& subject : subjects) {
    // Random levels and courses: some repeat, and only the first detail line of each counts;
    // a header or trailer record among them holds fields like any other.
    for (int line = 0; line < 30; ++line) {
      const unsigned kind = random() % 16;
      const char* recordType = kind == 0 ? "0" : kind == 1 ? "9" : kind == 2 ? " " : "1";
      courseHours.push_back(Columns({{1, recordType},
                                     {2, Pick(random, kLevels)},
                                     {8, Pick(random, kCourses)},
                                     {24, subject},
                                     {28, Pick(random, kHours)}}));
    }
  }
  if (plan.badHoursRow != -2) {
    for (const char* level : kLevels)
      for (const char* course : kCourses)
        courseHours.push_back(
            Columns({{1, "1"}, {2, level}, {8, course}, {24, "BAD"}, {28, "2 h"}}));
  }
  courseHours.push_back(Columns({{1, "9"}, {2, "ROVA_ASIGNATCURSO.TXT"}}));
  folders.WriteRova("rova_asignatcurso.txt", courseHours);
}

// What a run leaves: ASIGT's bytes without the header's date, the error and the messages,
// folder names taken out.
struct Outcome {
  std::string table;
  std::string error;
  std::vector<std::string> messages;
};

std::string WithoutRoot(std::string text, const std::string& root) {
  for (size_t at; (at = text.find(root)) != std::string::npos;) {
    text.replace(at, root.size(), "<root>");
  }
  return text;
}

Outcome RunConversion(const Plan& plan, void (*conversion)(const ExportContext&)) {
  TestFolders folders;
  WriteInputs(folders, plan);
  norvalde::testing::FaultyEnv env;
  if (plan.fault) {
    const auto& [file, operation, nth] = *plan.fault;
    env.WatchOnly(file);
    env.FailNth(operation, nth);
  }
  Outcome outcome;
  try {
    conversion(folders.Context(env));
  } catch (const Error& error) {
    outcome.error = WithoutRoot(error.what(), folders.root());
  }
  if (folders.WorkFileExists("ASIGT.DBF")) {
    outcome.table = folders.ReadWorkFile("ASIGT.DBF");
    outcome.table.erase(1, 3);
  }
  outcome.messages = folders.messages.messages;
  return outcome;
}

// Rows of ASIGT in the outcome (the header's count; the date is gone, so it starts at 1).
uint32_t Rows(const Outcome& outcome) {
  uint32_t rows = 0;
  for (int i = 3; i >= 0; --i) rows = rows << 8 | static_cast<unsigned char>(outcome.table[1 + i]);
  return rows;
}

TEST(AssignmentsOnePass, LeavesWhatThePassesLeaveAfterSuccessAndAfterEveryFailure) {
  const int middle = 5000;  // in the second block
  const Plan plans[] = {
      {.name = "clean run"},
      {.name = "assignments unreadable at the start",
       .fault = {{"rova_asignatgrupo.txt", Operation::kRead, 1}}},
      {.name = "assignments unreadable past the first 64 KiB",
       .fault = {{"rova_asignatgrupo.txt", Operation::kRead, 2}}},
      {.name = "ASIGT's first block not written", .fault = {{"ASIGT.DBF", Operation::kWrite, 2}}},
      {.name = "ASIGT's count not written after the first block",
       .fault = {{"ASIGT.DBF", Operation::kWrite, 3}}},
      {.name = "ASIGT's second block not written", .fault = {{"ASIGT.DBF", Operation::kWrite, 4}}},
      {.name = "ASIGT's count not written after the second block",
       .fault = {{"ASIGT.DBF", Operation::kWrite, 5}}},
      {.name = "GRUPOST missing", .withoutGrupost = true},
      {.name = "GRUPOST not closed", .fault = {{"GRUPOST.DBF", Operation::kClose, 1}}},
      {.name = "damaged group at the first row", .damagedGroupRow = 0},
      {.name = "damaged group in the middle", .damagedGroupRow = middle},
      {.name = "damaged group at the last row", .damagedGroupRow = kRows - 1},
      {.name = "damaged group no row takes", .damagedGroupRow = -1},
      {.name = "course hours missing", .withoutCourseHours = true},
      {.name = "course hours unreadable",
       .fault = {{"rova_asignatcurso.txt", Operation::kRead, 1}}},
      {.name = "bad hours at the first row", .badHoursRow = 0},
      {.name = "bad hours in the middle", .badHoursRow = middle},
      {.name = "bad hours at the last row", .badHoursRow = kRows - 1},
      {.name = "bad hours no row takes", .badHoursRow = -1},
      {.name = "bad hours before a damaged group", .damagedGroupRow = middle, .badHoursRow = 1000},
      {.name = "damaged group before bad hours", .damagedGroupRow = 1000, .badHoursRow = middle},
  };
  for (const Plan& plan : plans) {
    SCOPED_TRACE(plan.name);
    const Outcome walked = RunConversion(plan, testing::WalkAssignmentPasses);
    const Outcome written = RunConversion(plan, ExportarAsignaturasGrupos);
    EXPECT_EQ(written.error, walked.error);
    EXPECT_EQ(written.messages, walked.messages);
    ASSERT_EQ(written.table.size(), walked.table.size());
    EXPECT_EQ(Rows(written), Rows(walked));
    EXPECT_TRUE(written.table == walked.table);  // not printed: 300 KB
  }
}

// The comparison above is only as good as its data: the clean run must have met every kind of
// row, and the failures must have stopped the passes where they were put.
TEST(AssignmentsOnePass, GeneratedDataReachesEveryKindOfRow) {
  TestFolders folders;
  WriteInputs(folders, {.name = "clean run"});
  ExportarAsignaturasGrupos(folders.Context());
  using Row = std::vector<std::string>;
  const std::vector<Row> rows = folders.Rows(
      "ASIGT.DBF", {"CASIG", "CGRUP", "TURNO", "NIVEL", "CURSO", "HORAS", "SESIONES"});
  ASSERT_EQ(rows.size(), static_cast<size_t>(kRows));
  auto hoursFound = [](const Row& row) { return row[5] != "1"; };  // most that found some
  auto in = [](const std::string& value, std::initializer_list<std::string_view> pool) {
    return std::find(pool.begin(), pool.end(), value) != pool.end();
  };
  const struct {
    const char* kind;
    std::function<bool(const Row&)> is;
    int atLeast;
  } kinds[] = {
      {"without group", [](const Row& row) { return row[2].empty(); }, 300},
      {"odd group code found",
       [&](const Row& row) { return in(row[1], {"g01", "G3"}) && !row[2].empty(); }, 100},
      {"group code found only in another case",
       [](const Row& row) { return row[1] == "g02" && row[2].empty(); }, 50},
      {"hours of a lower-case level",
       [&](const Row& row) { return in(row[3], {"eso", "niv"}) && hoursFound(row); }, 100},
      {"level wider than the hours' field", [](const Row& row) { return row[3] == "ESOX"; }, 300},
      {"hours of course 01", [&](const Row& row) { return row[4] == "01" && hoursFound(row); },
       100},
      {"hours of an empty level and course",
       [&](const Row& row) { return row[3].empty() && row[4].empty() && hoursFound(row); }, 50},
      {"course with a leading blank", [](const Row& row) { return row[4] == " 1"; }, 300},
      {"hours of an odd subject",
       [&](const Row& row) { return in(row[0], {"s05", "S5"}) && hoursFound(row); }, 25},
      {"default hours", [](const Row& row) { return row[5] == "1" && row[6] == "1"; }, 1000},
      {"half hours", [](const Row& row) { return row[6].ends_with('\xBD'); }, 400},
      {"long patterns", [](const Row& row) { return row[6].size() >= 14; }, 400},
  };
  for (const auto& kind : kinds) {
    EXPECT_GE(std::count_if(rows.begin(), rows.end(), kind.is), kind.atLeast) << kind.kind;
  }
}

}  // namespace
}  // namespace norvalde::exporting
