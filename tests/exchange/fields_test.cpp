#include "exchange/exchange_fields.h"

#include <gtest/gtest.h>

#include "tests/support/fixed_clock_env.h"

namespace norvalde::exchange {
namespace {

TEST(ColumnsAndFields, AtAndPastTheLineEnd) {
  const struct {
    std::string line;
    int first, last;
    std::string column;
    std::string field;
  } cases[] = {
      {"0123456789", 2, 5, "1234", "1234"},
      {"0123456789", 8, 15, "789", "789"},     // ends inside: the part that is there
      {"0123456789", 10, 10, "9", "9"},
      {"0123456789", 11, 15, "", ""},          // starts past the end
      {"", 1, 1, "", ""},
      {"X  AB  Y", 2, 7, "  AB  ", "AB"},
      {"X\t\x01" "A B\x1F\r", 2, 8, "\t\x01" "A B\x1F\r", "A B"},  // every byte up to 0x20 goes
      {"X\x7F" "A\xA0", 2, 4, "\x7F" "A\xA0", "\x7F" "A\xA0"},   // 0x7F and 0xA0 stay
      {"X    ", 2, 5, "    ", ""},
      {std::string("X\0A\0", 4), 2, 4, std::string("\0A\0", 3), "A"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnText(c.line, c.first, c.last), c.column) << c.line << " " << c.first;
    EXPECT_EQ(FieldText(c.line, c.first, c.last), c.field) << c.line << " " << c.first;
  }
}

TEST(IsDetailLine, SkipsHeadersTrailersAndTheGuard) {
  const std::string padded = "1" + std::string(3, ' ') + "rova_prof.txt" + std::string(34, ' ');
  const struct {
    std::string line;
    std::string_view guard;
    bool detail;
  } cases[] = {
      {"", kGuardProf, true},
      {" ABCD", kGuardProf, true},
      {"1ABCD", kGuardProf, true},
      {"0", kGuardProf, false},
      {"0whatever it holds", kGuardProf, false},
      {"9ROVA_PROF.TXT", kGuardProf, false},
      {"1ROVA_PROF.TXT", kGuardProf, false},
      {padded, kGuardProf, false},                      // any case, spaces around
      {"1ROVA_PROF.TXTX", kGuardProf, true},
      {"1ROVA_GRUPO.TXT", kGuardGrupo, true},           // read as a group
      {"1rova_grupos.txt", kGuardGrupo, false},
      {"1ROVA_AULAS.TXT", kGuardProf, true},            // another file's guard counts for nothing
      {"1" + std::string(50, ' ') + "ROVA_PROF.TXT", kGuardProf, true},  // beyond column 51
  };
  for (const auto& c : cases) EXPECT_EQ(IsDetailLine(c.line, c.guard), c.detail) << c.line;
}

TEST(UpperCaseAscii, RaisesOnlyAToZ) {
  EXPECT_EQ(UpperCaseAscii("rova_Asignat.txt"), "ROVA_ASIGNAT.TXT");
  EXPECT_EQ(UpperCaseAscii("espa\xF1ol \xE9\xBD\xFF"), "ESPA\xF1OL \xE9\xBD\xFF");
  EXPECT_EQ(UpperCaseAscii("`az{@AZ["), "`AZ{@AZ[");
}

TEST(FillToWidth, FillsButNeverCuts) {
  EXPECT_EQ(FillToWidth("LEC", 4), "LEC ");
  EXPECT_EQ(FillToWidth("ABCD", 4), "ABCD");
  EXPECT_EQ(FillToWidth("ABCDE", 4), "ABCDE");
  EXPECT_EQ(FillToWidth("", 8), "        ");
  EXPECT_EQ(FillToWidth("ROVA_HORARIO.TXT", 50), "ROVA_HORARIO.TXT" + std::string(34, ' '));
}

TEST(ExchangeTimeStamp, DayMonthYearHourMinuteWithZeros) {
  testing::FixedClockEnv env({2024, 3, 7, 9, 5});
  EXPECT_EQ(ExchangeTimeStamp(env), "070320240905");
  env.SetNow({2024, 12, 31, 21, 5});
  EXPECT_EQ(ExchangeTimeStamp(env), "311220242105");
  env.SetNow({2025, 1, 1, 0, 0});
  EXPECT_EQ(ExchangeTimeStamp(env), "010120250000");
}

}  // namespace
}  // namespace norvalde::exchange
