// Tables we create: their bytes, and every operation from creation to reading back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "tables/table.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/temp_folder.h"
#include "tests/tables/table_test_files.h"

namespace norvalde::tables {
namespace {

using testing::ErrorOf;
using testing::FixedClockEnv;
using testing::TempFolder;

const std::vector<FieldDefinition> kFields = {
    {"NOMBRE", FieldType::kText, 6},
    {"DNI", FieldType::kInteger},
    {"HORAS", FieldType::kNumber},
};

class TableRoundTripTest : public ::testing::Test {
 protected:
  void CreateAndOpen(Sharing sharing = Sharing::kShared) {
    Table::Create(env_, folder_.path(), "T.DBF", kFields);
    table_.Open(folder_.path(), "T.DBF", sharing, Access::kReadWrite);
  }
  void AppendRow(const std::string& name, double dni, double horas) {
    table_.Append();
    table_.SetText("NOMBRE", name);
    table_.SetNumber("DNI", dni);
    table_.SetNumber("HORAS", horas);
    table_.Post();
  }

  TempFolder folder_;
  FixedClockEnv env_{{2026, 12, 9, 8, 30}};
  Table table_{env_};
};

TEST_F(TableRoundTripTest, CreatesADbaseThreeTableByteForByte) {
  CreateAndOpen();
  AppendRow("Ana\xBD", 12, 2.99);
  table_.Close();

  std::string expected;
  expected += std::string("\x03\x7E\x0C\x09", 4);           // version, 2026-12-09
  expected += std::string("\x01\x00\x00\x00", 4);           // one record
  expected += std::string("\x81\x00\x26\x00", 4);           // header 129, record 38
  expected += std::string(17, '\0') + "\x57" + std::string(2, '\0');
  auto descriptor = [](const std::string& name, char type, int length, int decimals) {
    std::string bytes = name + std::string(11 - name.size(), '\0');
    bytes += type;
    bytes += std::string(4, '\0');
    bytes += static_cast<char>(length);
    bytes += static_cast<char>(decimals);
    return bytes + std::string(14, '\0');
  };
  expected += descriptor("NOMBRE", 'C', 6, 0) + descriptor("DNI", 'N', 11, 0) +
              descriptor("HORAS", 'N', 20, 6) + "\x0D";
  expected += " Ana\xBD  " + std::string("         12") + "            2.990000";
  expected += "\x1A";
  EXPECT_EQ(folder_.ReadFile("T.DBF"), expected);
}

TEST_F(TableRoundTripTest, ValuesReadBackByTypeRules) {
  CreateAndOpen();
  EXPECT_TRUE(table_.AtEnd());  // an empty table ends at once
  AppendRow("M\xFAsica largo", -10, 2.99);
  table_.Append();  // all fields empty
  table_.Post();
  AppendRow("x", 3, 0.5);
  table_.Close();

  table_.Open(folder_.path(), "t", Sharing::kShared, Access::kReadOnly);
  ASSERT_FALSE(table_.AtEnd());
  EXPECT_EQ(table_.AsText("nombre"), "M\xFAsica");  // cut to the width
  EXPECT_EQ(table_.AsText("DNI"), "-10");
  EXPECT_EQ(table_.AsNumber("HORAS"), 2.99);
  EXPECT_EQ(table_.AsText("HORAS"), "2.99");
  EXPECT_EQ(table_.AsInteger("HORAS"), 3);
  table_.Next();
  EXPECT_EQ(table_.AsText("NOMBRE"), "");
  EXPECT_EQ(table_.AsText("DNI"), "");
  EXPECT_EQ(table_.AsNumber("HORAS"), 0);
  EXPECT_EQ(table_.AsInteger("DNI"), 0);
  EXPECT_EQ(ErrorOf([&] { table_.AsInteger("NOMBRE"); }), "'' no es un valor entero válido");
  table_.Next();
  EXPECT_EQ(table_.AsInteger("HORAS"), 0);  // 0.5 rounds to the even 0
  table_.Next();
  EXPECT_TRUE(table_.AtEnd());
  EXPECT_EQ(table_.FieldNames(), (std::vector<std::string>{"NOMBRE", "DNI", "HORAS"}));
}

TEST_F(TableRoundTripTest, MovingStoresThePendingChangeAndCloseDropsIt) {
  CreateAndOpen();
  AppendRow("uno", 1, 1);
  table_.Append();
  table_.SetText("NOMBRE", "dos");
  table_.First();  // stores "dos"
  table_.Edit();
  table_.SetText("NOMBRE", "UNO");
  table_.Next();  // stores "UNO"
  table_.Edit();
  table_.SetText("NOMBRE", "DOS");
  table_.Append();  // stores "DOS"
  table_.SetText("NOMBRE", "tres");
  table_.Close();  // drops "tres"

  table_.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadOnly);
  std::vector<std::string> names;
  for (table_.First(); !table_.AtEnd(); table_.Next()) names.push_back(table_.AsText("NOMBRE"));
  EXPECT_EQ(names, (std::vector<std::string>{"UNO", "DOS"}));
}

TEST_F(TableRoundTripTest, TextAndNumberSettersConvertBetweenKinds) {
  CreateAndOpen();
  table_.Append();
  table_.SetNumber("NOMBRE", 2.5);
  table_.SetText("DNI", " 42 ");
  table_.SetText("HORAS", "1,25");
  table_.Post();
  EXPECT_EQ(table_.AsText("NOMBRE"), "2.5");
  EXPECT_EQ(table_.AsInteger("DNI"), 42);
  EXPECT_EQ(table_.AsNumber("HORAS"), 1.25);
  table_.Edit();
  EXPECT_THROW(table_.SetText("DNI", "doce"), Error);
  EXPECT_THROW(table_.SetNumber("DNI", 1e12), Error);  // never stored with digits dropped
  table_.SetText("HORAS", "");
  table_.Post();
  EXPECT_EQ(table_.AsText("HORAS"), "");
  EXPECT_EQ(table_.AsInteger("DNI"), 42);

  // Read with a Spanish user's separator, numbers give "," and text stays as stored.
  table_.Edit();
  table_.SetText("HORAS", "1,25");
  table_.Post();
  table_.Close();
  Table spanish(env_, {}, ',');
  spanish.Open(folder_.path(), "T", Sharing::kShared, Access::kReadOnly);
  EXPECT_EQ(spanish.AsText("HORAS"), "1,25");
  EXPECT_EQ(spanish.AsText("NOMBRE"), "2.5");
  EXPECT_EQ(spanish.AsText("DNI"), "42");
  EXPECT_NE(folder_.ReadFile("T.DBF").find("1.250000"), std::string::npos);  // stored with "."
}

// A field looked up once by name (a handle) serves every row after, matched ignoring case.
TEST_F(TableRoundTripTest, OneFieldLookupServesEveryRow) {
  CreateAndOpen();
  const FieldHandle nombre = table_.FindField("nombre");
  const FieldHandle horas = table_.FindField("Horas");
  ASSERT_TRUE(nombre.found() && horas.found());
  for (int i = 0; i < 3; ++i) {
    table_.Append();
    table_.SetText(nombre, "N" + std::to_string(i));
    table_.SetNumber(horas, i + 0.5);
    table_.Post();
  }
  std::vector<std::string> read;
  for (table_.First(); !table_.AtEnd(); table_.Next()) {
    read.push_back(table_.AsText(nombre) + "=" + table_.AsText(horas));
    EXPECT_EQ(table_.AsText(nombre), table_.AsText("NOMBRE"));  // the same field by name
  }
  EXPECT_EQ(read, (std::vector<std::string>{"N0=0.5", "N1=1.5", "N2=2.5"}));
}

// A missing field's error names it and the component; a handle's lookup never fails, its first
// use fails with the by-name error.
TEST_F(TableRoundTripTest, FieldErrorsNameTheFieldAndTheComponent) {
  CreateAndOpen();
  EXPECT_EQ(ErrorOf([&] { table_.AsText("AULA"); }), "No se encuentra el campo 'AULA'");
  table_.Close();
  Table soluc(env_, "wwTableSoluc");
  soluc.Open(folder_.path(), "T", Sharing::kShared, Access::kReadWrite);
  const std::string missing = "wwTableSoluc: No se encuentra el campo 'aula'";
  EXPECT_EQ(ErrorOf([&] { soluc.AsText("aula"); }), missing);
  FieldHandle aula;
  EXPECT_NO_THROW(aula = soluc.FindField("aula"));
  EXPECT_FALSE(aula.found());
  EXPECT_EQ(ErrorOf([&] { soluc.AsText(aula); }), missing);
  soluc.Append();
  EXPECT_EQ(ErrorOf([&] { soluc.SetText(aula, "A1"); }), missing);
  soluc.Close();
  EXPECT_EQ(ErrorOf([&] { soluc.FindField("NOMBRE"); }), "La tabla no está abierta");
}

// Rows look fields up by name over and over: every spelling must keep finding the same field
// however many names are in use, and a table opened next must not see the previous one's.
TEST_F(TableRoundTripTest, FieldLookupsStayRightAcrossManyNamesSpellingsAndTables) {
  constexpr int kCount = 120;  // many names, many of one length
  std::vector<FieldDefinition> fields;
  for (int i = 0; i < kCount; ++i) fields.push_back({"F" + std::to_string(i), FieldType::kInteger});
  fields.push_back({"F7", FieldType::kText, 3});  // a repeated name: the first field wins
  std::vector<FieldDefinition> reversed(fields.rbegin() + 1, fields.rend());
  Table::Create(env_, folder_.path(), "MANY.DBF", fields);
  Table::Create(env_, folder_.path(), "REVERSED.DBF", reversed);
  for (const char* name : {"MANY", "REVERSED"}) {
    table_.Open(folder_.path(), name, Sharing::kShared, Access::kReadWrite);
    table_.Append();
    const int base = std::string(name) == "MANY" ? 0 : 1000;
    for (int i = 0; i < kCount; ++i) table_.SetNumber("f" + std::to_string(i), base + i);
    table_.Post();
  }
  table_.Open(folder_.path(), "MANY", Sharing::kShared, Access::kReadOnly);
  for (int pass = 0; pass < 3; ++pass) {
    for (int i = 0; i < kCount; ++i) {
      const std::string upper = "F" + std::to_string(i), lower = "f" + std::to_string(i);
      ASSERT_EQ(table_.AsInteger(pass == 1 ? lower : upper), i) << upper;
    }
    EXPECT_EQ(ErrorOf([&] { table_.AsText("F120"); }), "No se encuentra el campo 'F120'");
  }
  table_.Open(folder_.path(), "REVERSED", Sharing::kShared, Access::kReadOnly);
  for (int i = 0; i < kCount; ++i) ASSERT_EQ(table_.AsInteger("F" + std::to_string(i)), 1000 + i);
}

TEST_F(TableRoundTripTest, ManyRowsCrossBlockBoundariesInBothDirections) {
  CreateAndOpen();
  constexpr int kRows = 20000;  // several cached blocks of 38-byte records
  for (int i = 0; i < kRows; ++i) AppendRow("r", i, i / 4.0);
  // Edit every third row while walking, then read all back after reopening.
  int index = 0;
  for (table_.First(); !table_.AtEnd(); table_.Next(), ++index) {
    if (index % 3 != 0) continue;
    table_.Edit();
    table_.SetText("NOMBRE", "e");
  }
  EXPECT_EQ(index, kRows);
  table_.Close();
  table_.Open(folder_.path(), "T.DBF", Sharing::kExclusive, Access::kReadOnly);
  index = 0;
  for (table_.First(); !table_.AtEnd(); table_.Next(), ++index) {
    ASSERT_EQ(table_.AsInteger("DNI"), index);
    ASSERT_EQ(table_.AsNumber("HORAS"), index / 4.0);
    ASSERT_EQ(table_.AsText("NOMBRE"), index % 3 == 0 ? "e" : "r") << index;
  }
  EXPECT_EQ(index, kRows);
}

}  // namespace
}  // namespace norvalde::tables
