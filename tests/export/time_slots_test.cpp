// The day and time slots conversion: period numbers over the week, slot keys, true slot
// lengths, and the rows left by a time that is not a number.
#include <gtest/gtest.h>

#include "export/export.h"
#include "tests/support/error_of.h"
#include "tests/support/test_folders.h"

namespace norvalde::exporting {
namespace {

using testing::Columns;
using testing::TestFolders;
using Rows = std::vector<std::vector<std::string>>;

std::string Slot(const std::string& code, const std::string& day, const std::string& start,
                 const std::string& end) {
  return Columns({{1, "1"}, {5, code}, {9, day}, {10, start}, {14, end}});
}

const std::vector<std::string> kFields{"DIHO",      "CODDIHO",   "DIA",      "TEXTODIA",
                                       "HORA",      "HORADESDE", "HORAHASTA", "MINUTOS"};

TEST(TimeSlotsConversion, NumbersPeriodsOverTheWeekWithTrueSlotLengths) {
  TestFolders folders;
  folders.WriteRova("rova_sesiones.txt", {
      Columns({{1, "0"}, {2, "ROVA_SESIONES.TXT"}}),
      Columns({{1, "1"}, {2, "rova_sesiones.txt"}}),
      Slot("0001", "L", "0800", "0855"),
      Slot("0002", "L", "0855", "0950"),
      Slot("0003", "M", "0800", "0900"),
      Slot("0004", "M", "0900", "0955"),
      Slot("0005", "3", "0830", "0925"),
      Slot("0005", "3", "1100", "1130"),  // a repeated slot code is a row of its own
      Slot("0006", " ", "1045", "1100"),  // blank day: the key is the period alone
      Slot("0007", "X", "800", "0900"),   // "800" sorts after "1045"
      Columns({{1, "9"}, {2, "ROVA_SESIONES.TXT"}}),
  });

  ExportarTramos(folders.Context());

  EXPECT_TRUE(folders.messages.messages.empty());
  EXPECT_EQ(folders.Rows("DIASHORAST.DBF", kFields),
            (Rows{
                {"L1", "0001", "L", "", "1", "0800", "0855", "55"},
                {"L3", "0002", "L", "", "3", "0855", "0950", "55"},
                {"M1", "0003", "M", "", "1", "0800", "0900", "60"},
                {"M4", "0004", "M", "", "4", "0900", "0955", "55"},
                {"32", "0005", "3", "", "2", "0830", "0925", "55"},
                {"36", "0005", "3", "", "6", "1100", "1130", "30"},
                {"5", "0006", "", "", "5", "1045", "1100", "15"},
                {"X7", "0007", "X", "", "7", "800", "0900", "60"},
            }));
}

TEST(TimeSlotsConversion, OnlyHeaderAndTrailerGiveAnEmptyTable) {
  TestFolders folders;
  folders.WriteRova("rova_sesiones.txt", {Columns({{1, "0"}, {2, "ROVA_SESIONES.TXT"}}),
                                          Columns({{1, "9"}, {2, "ROVA_SESIONES.TXT"}})});
  ExportarTramos(folders.Context());
  EXPECT_TRUE(folders.Rows("DIASHORAST.DBF", kFields).empty());
}

// A time that is not a number ends the run with pass 1's rows only: HORA still holds the start
// time and DIHO is empty.
TEST(TimeSlotsConversion, ABadTimeEndsTheRunWithPass1RowsOnly) {
  const struct {
    std::string lastLine;  // bytes after the good line's CR LF
    const char* message;
  } cases[] = {
      // The end time is read first.
      {Slot("0002", "L", "8h", "9h") + "\r\n", "'9h' no es un valor entero válido"},
      {Slot("0002", "L", "8:00", "0900") + "\r\n", "'8:00' no es un valor entero válido"},
      {"\r\n", "'' no es un valor entero válido"},  // an empty line
      {"\x1A", "'' no es un valor entero válido"},    // Ctrl-Z after the last line break
  };
  for (const auto& [lastLine, message] : cases) {
    TestFolders folders;
    folders.WriteRovaBytes("rova_sesiones.txt",
                           Slot("0001", "L", "0800", "0855") + "\r\n" + lastLine);
    EXPECT_EQ(testing::ErrorOf([&] { ExportarTramos(folders.Context()); }), message);
    EXPECT_EQ(folders.Rows("DIASHORAST.DBF", kFields),
              (Rows{{"", "0001", "L", "", "0800", "0800", "0855", "55"}}))
        << message;
  }
}

}  // namespace
}  // namespace norvalde::exporting
