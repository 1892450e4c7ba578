// Tables written by other programs, in every common dBASE variant, read through the engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "platform/env.h"
#include "tables/table.h"
#include "tests/support/temp_folder.h"
#include "tests/tables/table_test_files.h"

namespace norvalde::tables {
namespace {

using testing::TempFolder;

struct Variant {
  const char* file;
  std::vector<std::string> fields;
  // What DIA reads as text on the fifth row, whose day is null or blank.
  const char* blankDay;
  bool textDay;  // DIA is a text field: an empty one is no whole number
};

std::ostream& operator<<(std::ostream& out, const Variant& variant) { return out << variant.file; }

const std::vector<std::string> kSix = {"DIA", "HORA", "PROF", "CODGRUPO", "ASIG", "AULA"};

std::vector<std::string> With(std::vector<std::string> names, std::vector<std::string> more) {
  names.insert(names.end(), more.begin(), more.end());
  return names;
}

class TableVariantTest : public ::testing::TestWithParam<Variant> {
 protected:
  TempFolder folder_;
  Table table_{platform::Env::Default(), "wwTableSoluc"};
};

TEST_P(TableVariantTest, ReadsTheSameTimetableInWindows1252) {
  const Variant& variant = GetParam();
  test::CopyFixture(folder_, variant.file);
  if (std::string(variant.file) == "soluc_lowercase_fields.dbf") {
    test::CopyFixture(folder_, "soluc_lowercase_fields.cpg");
  }
  if (std::string(variant.file) == "soluc_fox.dbf") test::CopyFixture(folder_, "soluc_fox.fpt");
  table_.Open(folder_.path(), variant.file, Sharing::kExclusive, Access::kReadWrite);
  EXPECT_EQ(table_.FieldNames(), variant.fields);

  const std::vector<std::string> days = {"1", "1", "2", "0", variant.blankDay, "3", "4", "5"};
  const std::vector<std::string> hours = {"1", "2", "3", "4", "5", "6", "1", "7"};
  const std::vector<std::string> teachers = {"P001", "P002", "P0105", "P003",
                                             "P004", "P005", "P006",  "P007"};
  const std::vector<std::string> subjects = {"MAT", "LEN", "FIS", "TUT", "EF",
                                             "M\xFAsica", "Educaci\xF3n", "Espa\xF1ol"};
  size_t row = 0;
  for (table_.First(); !table_.AtEnd(); table_.Next(), ++row) {
    ASSERT_LT(row, days.size());
    EXPECT_EQ(table_.AsText("dia"), days[row]) << row;
    EXPECT_EQ(table_.AsText("Hora"), hours[row]) << row;
    EXPECT_EQ(table_.AsText("PROF"), teachers[row]) << row;
    EXPECT_EQ(table_.AsText("ASIG"), subjects[row]) << row;
    if (row == 4 && variant.textDay) {
      EXPECT_THROW(table_.AsInteger("DIA"), Error);
    } else {
      EXPECT_EQ(table_.AsInteger("DIA"), days[row].empty() ? 0 : std::stoi(days[row])) << row;
    }
    if (row == 2) {
      EXPECT_EQ(table_.AsText("CODGRUPO"), "2BACB");
    }
    if (row == 7) {
      EXPECT_EQ(table_.AsText("AULA"), "A204");
    }
    // The view reads what AsText reads, whether it looks into the row or converts.
    for (const std::string& name : variant.fields) {
      std::string scratch;
      const FieldHandle field = table_.FindField(name);
      EXPECT_EQ(table_.TextView(field, scratch), table_.AsText(field)) << row << " " << name;
    }
  }
  EXPECT_EQ(row, days.size());
}

INSTANTIATE_TEST_SUITE_P(
    OtherWriters, TableVariantTest,
    ::testing::Values(
        Variant{"soluc_db3_numeric_dia.dbf", With(kSix, {"DURACION", "FIJA"}), "", false},
        Variant{"soluc_db3_text_dia.dbf", With(kSix, {"OBS"}), "", true},
        Variant{"soluc_fox.dbf", With(kSix, {"FIJA", "OBS"}), "", false},
        // The null day of Visual FoxPro reads as the 0 its bytes hold.
        Variant{"soluc_vfp.dbf", With(kSix, {"DURACION", "MODIF"}), "0", false},
        // PROF, ASIG and AULA as varchar fields, their lengths in their last bytes.
        Variant{"soluc_vfp_varchar.dbf", With(kSix, {"DURACION", "MODIF"}), "0", false},
        Variant{"soluc_gdal.dbf",
                {"AULA", "DIA", "HORA", "PROF", "CODGRUPO", "ASIG", "DURACION", "OBS"}, "", false},
        Variant{"soluc_lowercase_fields.dbf",
                {"dia", "hora", "prof", "codgrupo", "asig", "aula", "sesion"}, "", false},
        Variant{"soluc_dbase7.dbf",
                {"ID", "DIA", "HORA", "PROF", "CODGRUPO", "ASIG", "AULA", "DESFASE_MINUTOS",
                 "COEFICIENTE"},
                "", false},
        // Language-driver byte 0: the code page (437) comes from the driver's name.
        Variant{"soluc_dbase7_db437.dbf",
                {"ID", "DIA", "HORA", "PROF", "CODGRUPO", "ASIG", "AULA", "DESFASE_MINUTOS",
                 "COEFICIENTE"},
                "", false}),
    [](const auto& info) {
      std::string name = info.param.file;
      return name.substr(6, name.size() - 10);
    });

// No installed program writes level 7, so its binary integers and doubles are checked here
// against the values its generator meant.
TEST(TableTypesTest, LevelSevenBinaryNumbersReadAsTheirWriterMeant) {
  TempFolder folder;
  Table table(platform::Env::Default());
  test::CopyFixture(folder, "soluc_dbase7.dbf");
  table.Open(folder.path(), "soluc_dbase7", Sharing::kShared, Access::kReadOnly);
  std::vector<std::string> offsets, factors;
  for (table.First(); !table.AtEnd(); table.Next()) {
    offsets.push_back(table.AsText("desfase_minutos"));
    factors.push_back(table.AsText("COEFICIENTE"));
  }
  EXPECT_EQ(offsets, (std::vector<std::string>{"0", "-15", "30", "", "-300", "2147483647",
                                               "-2147483647", "5"}));
  EXPECT_EQ(factors, (std::vector<std::string>{"1", "1", "1.5", "-0.75", "", "0", "2", "-1"}));

}

TEST(TableCodePageTest, AccentedTextIsNotWrittenIntoATableOfAnotherCodePage) {
  TempFolder folder;
  test::CopyFixture(folder, "soluc_fox.dbf");  // code page 850
  Table table(platform::Env::Default());
  table.Open(folder.path(), "soluc_fox", Sharing::kExclusive, Access::kReadWrite);
  table.Append();
  table.SetText("ASIG", "MAT");
  EXPECT_THROW(table.SetText("ASIG", "M\xFAsica"), Error);
}

}  // namespace
}  // namespace norvalde::tables
