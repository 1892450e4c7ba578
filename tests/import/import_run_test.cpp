// Whole Import runs on prepared work folders, comparing ROVA_HORARIO.TXT byte for byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "exchange/exchange_fields.h"
#include "import_work_folder.h"
#include "tests/support/error_of.h"
#include "tests/support/write_table.h"

namespace norvalde::importing::testing {
namespace {

using norvalde::testing::ErrorOf;
using norvalde::testing::WriteTable;

const std::vector<std::string> kFinished = {"<cursor restored>", "Proceso Terminado"};

TEST(ImportRunTest, WritesOneLessonPerTimetabledRowWithItsSlot) {
  ImportWorkFolder folder;
  folder.Prepare('L',
                 {{"L", "1", "S011"},
                  {"M", "1", "S021"},
                  {"M", "1", "S099"},  // same day and period again: the first row wins
                  {"8", "1", "S081"},
                  {"1", "1", "D011"}},  // digits are not looked up in letter mode
                 {{"1", "1", "P01", "1ESA", "MAT", "A12"},
                  {"0", "1", "P02", "1ESA", "LEN", "A12"},  // no lesson
                  {"8", "1", "P03", "2ESB", "ING", "A14"},  // no letter for day 8
                  {"3", "9", "P04", "2ESB", "HIS", "A14"},  // no such slot
                  {"2", "1", "P05", "3ESC", "FIS", "LAB"},
                  {"", "2", "P06", "3ESC", "QUI", "LAB"},   // blank day reads 0
                  {"5", "1", "P0105", "4ESD", "BIO", "A20"}});

  folder.Run();

  EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(),
                                            "1S011LP01 1ESALEC MAT A12 ",
                                            "1S0818P03 2ESBLEC ING A14 ",
                                            "1    XP04 2ESBLEC HIS A14 ",
                                            "1S021MP05 3ESCLEC FIS LAB ",
                                            "1    VP01054ESDLEC BIO A20 ",
                                            HorarioTrailer(5)}));
  EXPECT_EQ(folder.messages.events, kFinished);
}

// Enough lessons to fill the output's buffer many times over, of changing widths, so that
// records fall across every buffer boundary: the file is still exactly the records in order.
// Most periods are new ones, more pairs of day and period than the Import keeps worked out,
// so the later ones, the last with a slot, are worked out row by row.
TEST(ImportRunTest, ManyLessonsAreWrittenWholeAndInOrder) {
  std::vector<SolucRow> rows;
  std::vector<std::string> expected = {HorarioHeader()};
  for (int i = 0; i < 6000; ++i) {
    const std::string prof = "P" + std::to_string(i % 1000);  // 2 to 4 bytes
    const std::string aula = std::string(1 + i % 5, 'a');  // up to 5: wider than its 4
    const std::string hora = i == 5999 ? "9999" : i % 4 == 0 ? "1" : std::to_string(2 + i);
    const std::string slot = hora == "1" ? "S011" : hora == "9999" ? "S999" : "    ";
    rows.push_back({"1", hora, prof, "1ESA", "MAT", aula});
    expected.push_back("1" + slot + "L" + prof + std::string(4 - prof.size(), ' ') +
                       "1ESALEC MAT " + aula +
                       std::string(aula.size() < 4 ? 4 - aula.size() : 0, ' '));
  }
  expected.push_back(HorarioTrailer(6000));
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}, {"L", "9999", "S999"}}, rows);

  RecordingMessageSink sink;
  folder.Run(sink);

  EXPECT_EQ(folder.ReadOutput(), CrLfLines(expected));
  EXPECT_EQ(sink.events, kFinished);
  EXPECT_EQ(folder.RovaFileNames(),
            (std::vector<std::string>{"ROVA_HORARIO.TXT", "rova_asignat.txt",
                                      "rova_sesiones.txt"}));
}

// The second line of rova_sesiones.txt decides whether SOLUC's day 4 is written "J" or "4";
// the slot is looked up under the day as written.
TEST(ImportRunTest, WritesAndLooksUpTheDayAsTheSlotsFileNamesIt) {
  const struct {
    std::string secondLine;
    std::string lesson;
  } cases[] = {{"1   S011J08000855", "1SJ02JP01 1ESALEC MAT A12 "},
               {"1   S011708000855", "1S4024P01 1ESALEC MAT A12 "},
               {"1   S0111", "1S4024P01 1ESALEC MAT A12 "},
               {"0   S0118", "1SJ02JP01 1ESALEC MAT A12 "},  // not 1-7
               {"9   S011 08000855", "1SJ02JP01 1ESALEC MAT A12 "},
               {"1   S01", "1SJ02JP01 1ESALEC MAT A12 "}};  // too short
  for (const auto& [secondLine, lesson] : cases) {
    ImportWorkFolder folder;
    folder.Prepare('L', {{"J", "2", "SJ02"}, {"4", "2", "S402"}},
                   {{"4", "2", "P01", "1ESA", "MAT", "A12"}});
    folder.WriteRovaBytes("rova_sesiones.txt", CrLfLines({"0ROVA_SESIONES.TXT", secondLine}));
    folder.Run();
    EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(), lesson, HorarioTrailer(1)}))
        << secondLine;
  }
}

// The centre code is raw columns 52-59 of the first "0" line of rova_asignat.txt.
TEST(ImportRunTest, PutsTheCentreCodeInHeaderAndTrailer) {
  const std::string name = "ROVA_ASIGNAT.TXT" + std::string(34, ' ');
  const struct {
    std::vector<std::string> asignatLines;
    std::string centre;
  } cases[] = {
      {{"1MAT MATEMATICAS"}, "        "},
      {{}, "        "},
      {{"0" + name + "2800"}, "2800    "},
      {{"0" + name + "  123456999"}, "  123456"},
      {{"1MAT", "0" + name + "AAAA1111", "0" + name + "BBBB2222"}, "AAAA1111"},
      // The header guard plays no part: a detail line naming the file is not a header.
      {{"1ROVA_ASIGNAT.TXT" + std::string(34, ' ') + "BBBB2222"}, "        "}};
  for (const auto& [asignatLines, centre] : cases) {
    ImportWorkFolder folder;
    folder.Prepare('1', {}, {});
    folder.WriteRovaBytes("rova_asignat.txt", CrLfLines(asignatLines));
    folder.Run();
    EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(centre), HorarioTrailer(0, centre)}))
        << "centre '" << centre << "'";
  }
}

TEST(ImportRunTest, WritesHeaderAndTrailerOnlyWhenNoRowHasADay) {
  for (const std::vector<SolucRow>& rows :
       {std::vector<SolucRow>{},
        std::vector<SolucRow>{{"0", "1", "P01", "1ESA", "MAT", "A12"}, {"", "2", "P02"}}}) {
    ImportWorkFolder folder;
    folder.Prepare('L', {{"L", "1", "S011"}}, rows);
    folder.Run();
    EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(), HorarioTrailer(0)}));
    EXPECT_EQ(folder.messages.events, kFinished);
  }
}

// DIASHORAST with DIA, HORA and, unless `withCode` is false, CODDIHO as a number field; the
// row `damaged` (0-based) holds there text that no reader takes for a number.
void WriteNumberedSlots(ImportWorkFolder& folder, const std::vector<SlotRow>& slots,
                        bool withCode, int damaged = -1) {
  std::vector<tables::FieldDefinition> fields{{"DIA", tables::FieldType::kText, 20},
                                              {"HORA", tables::FieldType::kText, 8}};
  if (withCode) fields.push_back({"CODDIHO", tables::FieldType::kNumber});
  std::vector<std::vector<std::string>> rows;
  for (size_t row = 0; row < slots.size(); ++row) {
    rows.push_back({slots[row].dia, slots[row].hora});
    if (!withCode) continue;
    rows.back().push_back(static_cast<int>(row) == damaged ? "424242" : slots[row].coddiho);
  }
  WriteTable(folder.env(), folder.workFolder(), "DIASHORAST.DBF", fields, rows);
  if (damaged >= 0) folder.SpoilNumber("DIASHORAST.DBF");
}

// A walk of DIASHORAST reads CODDIHO only at the row a lesson matches: without the field, or
// with a value that cannot be read in a row no lesson reaches, the run finishes; at a row a
// lesson reaches, it ends the run there.
TEST(ImportRunTest, ReadsTheSlotCodeOnlyWhereALessonMatches) {
  const std::vector<SolucRow> lessons{{"1", "1", "P01", "1ESA", "MAT", "A12"},
                                      {"2", "3", "P02", "1ESA", "LEN", "A12"}};
  {
    ImportWorkFolder folder;
    folder.Prepare('L', {}, lessons);
    WriteNumberedSlots(folder, {{"X", "1", ""}, {"L", "2", ""}}, false);
    folder.Run();
    EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(), "1    LP01 1ESALEC MAT A12 ",
                                              "1    MP02 1ESALEC LEN A12 ", HorarioTrailer(2)}));
    EXPECT_EQ(folder.messages.events, kFinished);
  }
  {
    // The damaged rows repeat a pair, or match no lesson.
    ImportWorkFolder folder;
    folder.Prepare('L', {}, lessons);
    WriteNumberedSlots(folder, {{"L", "1", "11"}, {"L", "1", "12"}, {"M", "3", "23"}}, true, 1);
    folder.Run();
    EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(), "111  LP01 1ESALEC MAT A12 ",
                                              "123  MP02 1ESALEC LEN A12 ", HorarioTrailer(2)}));
    EXPECT_EQ(folder.messages.events, kFinished);
  }
  {
    ImportWorkFolder folder;
    folder.Prepare('L', {}, lessons);
    WriteNumberedSlots(folder, {{"L", "1", "11"}, {"J", "1", "41"}, {"M", "3", "23"}}, true, 2);
    const std::string error = ErrorOf([&] { folder.Run(); });
    EXPECT_NE(error.find("el campo 'CODDIHO' contiene '42x4?2"), std::string::npos) << error;
    EXPECT_TRUE(folder.messages.events.empty());
    folder.ExpectTablesFree();
  }
}

// A SOLUC whose DIA and HORA are numbers with decimals: read as text they take the user's
// decimal separator, and the slot is the DIASHORAST row whose texts are written the same way.
TEST(ImportRunTest, NumbersReadAsTextTakeTheUsersDecimalSeparator) {
  for (const auto& [separator, lessons] :
       {std::pair{',', std::vector<std::string>{"1SC354P01 1ESALEC MAT A12 ",
                                                "1SC111,5P02 1ESALEC LEN A12 "}},
        std::pair{'.', std::vector<std::string>{"1SP354P01 1ESALEC MAT A12 ",
                                                "1SP111.5P02 1ESALEC LEN A12 "}}}) {
    ImportWorkFolder folder;
    folder.Prepare('1', {{"4", "3,5", "SC35"}, {"4", "3.5", "SP35"}, {"4", "3", "S3"},
                         {"1,5", "1", "SC11"}, {"1.5", "1", "SP11"}}, {});
    using tables::FieldType;
    WriteTable(folder.env(), folder.workFolder(), "SOLUC.DBF",
               {{"DIA", FieldType::kNumber}, {"HORA", FieldType::kNumber},
                {"PROF", FieldType::kText, 5}, {"CODGRUPO", FieldType::kText, 5},
                {"ASIG", FieldType::kText, 5}, {"AULA", FieldType::kText, 5}},
               {{"4", "3.5", "P01", "1ESA", "MAT", "A12"},
                {"1.5", "1", "P02", "1ESA", "LEN", "A12"}});

    folder.Run(folder.messages, separator);

    EXPECT_EQ(folder.ReadOutput(),
              CrLfLines({HorarioHeader(), lessons[0], lessons[1], HorarioTrailer(2)}));
  }
}

#ifndef _WIN32  // only a file system that tells case apart can hold both spellings
// The inputs are exactly rova_asignat.txt and rova_sesiones.txt, the output exactly
// ROVA_HORARIO.TXT: files whose names differ only in case are neither read nor replaced.
TEST(ImportRunTest, ReadsAndWritesOnlyTheExactNames) {
  for (const std::string input : {"rova_asignat.txt", "rova_sesiones.txt"}) {
    ImportWorkFolder folder;
    folder.Prepare('L', {{"L", "1", "S011"}}, {{"1", "1", "P01", "1ESA", "MAT", "A12"}});
    const std::string upper = exchange::UpperCaseAscii(input);
    std::filesystem::rename(folder.Carpeta() + input, folder.Carpeta() + upper);
    const std::string error = ErrorOf([&] { folder.Run(); });
    const std::string expected = "Cannot open file \"" + folder.Carpeta() + input + "\". ";
    EXPECT_EQ(error.substr(0, expected.size()), expected) << upper << " was read for " << input;
    EXPECT_TRUE(folder.messages.events.empty());
    EXPECT_EQ(folder.ReadOutput(), "<missing>");
  }

  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}}, {{"1", "1", "P01", "1ESA", "MAT", "A12"}});
  const std::string usersOwn = std::string(5000, 'x') + "\r\n";
  folder.WriteRovaBytes("rova_horario.txt", usersOwn);
  folder.WriteRovaBytes("Rova_Horario.Txt", "another\r\n");

  folder.Run();

  EXPECT_EQ(folder.RovaFileNames(),
            (std::vector<std::string>{"ROVA_HORARIO.TXT", "Rova_Horario.Txt", "rova_asignat.txt",
                                      "rova_horario.txt", "rova_sesiones.txt"}));
  EXPECT_EQ(folder.ReadOutput(),
            CrLfLines({HorarioHeader(), "1S011LP01 1ESALEC MAT A12 ", HorarioTrailer(1)}));
  EXPECT_EQ(folder.ReadRova("rova_horario.txt"), usersOwn);
  EXPECT_EQ(folder.ReadRova("Rova_Horario.Txt"), "another\r\n");
  EXPECT_EQ(folder.messages.events, kFinished);
}
#endif

}  // namespace
}  // namespace norvalde::importing::testing
