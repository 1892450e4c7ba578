// Damaged table files: an engine error naming the file, or the rows really there. Never a
// crash or a read past the data (the sanitizer build checks the latter).
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "platform/env.h"
#include "tables/table.h"
#include "tests/support/temp_folder.h"
#include "tests/tables/table_test_files.h"

namespace norvalde::tables {
namespace {

using testing::ErrorOf;
using testing::TempFolder;

// soluc_db3_numeric_dia.dbf: header 289 bytes, records of 39, nine records (one deleted), and
// descriptors of DIA at 32, HORA at 64, ...
constexpr size_t kHeaderLength = 289;
constexpr size_t kRecordLength = 39;
const std::string kBase = "soluc_db3_numeric_dia.dbf";

// dBASE II's own layout: version 0x02, a 16-bit count, the date, the record length, 16-byte
// field descriptors from offset 8, a 521-byte header. One field DIA N(2) and one row.
std::string Dbase2Table() {
  std::string bytes(521, '\0');
  bytes[0] = 0x02;
  bytes[1] = 1;
  bytes.replace(3, 3, "\x0C\x09\x1A");
  bytes[6] = 3;
  bytes.replace(8, 3, "DIA");
  bytes[19] = 'N';
  bytes[20] = 2;
  bytes[24] = 0x0D;
  return bytes + " 1";
}

// A dBASE III table whose list of fields is empty: its terminator right after the header.
std::string NoFieldsTable() {
  std::string bytes(33, '\0');
  bytes[0] = 0x03;
  test::PutLittle16(bytes, 8, 33);
  test::PutLittle16(bytes, 10, 1);
  bytes[32] = 0x0D;
  return bytes + "\x1A";
}

class TableDamageTest : public ::testing::Test {
 protected:
  // Writes the damaged bytes as SOLUC.DBF and returns how many rows a walk reads, reading
  // every field in every way; throws what the engine throws.
  int Walk(const std::string& bytes) {
    folder_.WriteFile("SOLUC.DBF", bytes);
    Table table(platform::Env::Default());
    table.Open(folder_.path(), "SOLUC", Sharing::kShared, Access::kReadOnly);
    int rows = 0;
    for (table.First(); !table.AtEnd(); table.Next()) {
      for (const std::string& name : table.FieldNames()) {
        // A value that is no number fails on its own; the walk goes on.
        ErrorOf([&] { table.AsText(name); });
        ErrorOf([&] { table.AsNumber(name); });
        ErrorOf([&] { table.AsInteger(name); });
      }
      if (++rows > static_cast<int>(bytes.size())) ADD_FAILURE() << "endless walk";
    }
    return rows;
  }

  std::string Path() const { return folder_.Path("SOLUC.DBF"); }

  TempFolder folder_;
  const std::string base_ = test::FixtureBytes(kBase);
};

TEST_F(TableDamageTest, HeadersThatCannotDescribeATableAreRefusedNamingTheFile) {
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    const char* cause;
  };
  const std::vector<Case> cases = {
      {"empty file", [](std::string& b) { b.clear(); }, "vacío"},
      {"shorter than a header", [](std::string& b) { b.resize(20); }, "corto"},
      {"header longer than file", [](std::string& b) { test::PutLittle16(b, 8, 5000); }, "5000"},
      {"header too short", [](std::string& b) { test::PutLittle16(b, 8, 10); }, "cabecera"},
      {"descriptors past header", [](std::string& b) { test::PutLittle16(b, 8, 100); }, "campos"},
      {"record shorter than fields", [](std::string& b) { test::PutLittle16(b, 10, 30); }, "30"},
      {"record length zero", [](std::string& b) { test::PutLittle16(b, 10, 0); }, "registro"},
      {"unknown type", [](std::string& b) { b[32 + 11] = 'X'; }, "tipo"},
      {"zero length", [](std::string& b) { b[32 + 16] = 0; }, "longitud"},
      {"no name", [](std::string& b) { b[32] = 0; }, "nombre"},
      {"no terminator", [](std::string& b) { b[kHeaderLength - 1] = ' '; }, "campos"},
      {"bad deletion flag", [](std::string& b) { b[kHeaderLength] = 'X'; }, "registro 1"},
      // Tables of a form the engine does not read say so, and are not called damaged.
      {"dBASE II", [](std::string& b) { b = Dbase2Table(); }, "\": es una tabla de dBASE II"},
      {"no fields", [](std::string& b) { b = NoFieldsTable(); }, "\": la tabla no tiene campos"},
  };
  for (const Case& c : cases) {
    std::string bytes = base_;
    c.damage(bytes);
    const std::string message = ErrorOf([&] { Walk(bytes); });
    EXPECT_NE(message.find("\"" + Path() + "\""), std::string::npos) << c.what << ": " << message;
    EXPECT_NE(message.find(c.cause), std::string::npos) << c.what << ": " << message;
  }
}

TEST_F(TableDamageTest, ACountBeyondTheDataIsADamagedTableNamingBothCounts) {
  const struct {
    std::string bytes;
    const char* counts;
  } cases[] = {
      {test::FixtureBytes("soluc_damaged_count.dbf"),
       "indica 9 registros y el archivo solo contiene 6 completos"},
      {test::FixtureBytes("soluc_damaged_truncated.dbf"), "solo contiene 5 completos"},
      {[&] {
         std::string huge = base_;
         test::PutLittle32(huge, 4, 0xFFFFFFFF);
         return huge;
       }(),
       "indica 4294967295 registros y el archivo solo contiene 9 completos"},
      {base_.substr(0, base_.size() - 10), "indica 9 registros y el archivo solo contiene 8"},
  };
  for (const auto& c : cases) {
    const std::string message = ErrorOf([&] { Walk(c.bytes); });
    EXPECT_NE(message.find("\"" + Path() + "\": el archivo está dañado"), std::string::npos)
        << message;
    EXPECT_NE(message.find(c.counts), std::string::npos) << message;
  }
  std::string small = base_;
  test::PutLittle32(small, 4, 2);  // a count not brought up to date is believed
  EXPECT_EQ(Walk(small), 2);
}

TEST_F(TableDamageTest, LooseButReadableHeadersAreRead) {
  std::string longName = base_;
  longName.replace(32, 11, "DIAXXXXXXXX");  // eleven bytes, no NUL
  folder_.WriteFile("SOLUC.DBF", longName);
  Table table(platform::Env::Default());
  table.Open(folder_.path(), "SOLUC", Sharing::kShared, Access::kReadOnly);
  EXPECT_EQ(table.FieldNames().front(), "DIAXXXXXXXX");
  EXPECT_EQ(table.AsText("diaxxxxxxxx"), "1");
  table.Close();

  std::string unknownVersion = base_;
  unknownVersion[0] = 0;  // python3-dbf's FoxPro tables without memo
  EXPECT_EQ(Walk(unknownVersion), 8);

  std::string unsetFlag = base_;
  unsetFlag[kHeaderLength + 2 * kRecordLength] = '\0';  // a live row, as some writers leave it
  EXPECT_EQ(Walk(unsetFlag), 8);
}

TEST_F(TableDamageTest, NumericGarbageIsAnErrorNamingFileAndFieldAndStarsAreEmpty) {
  std::string bytes = base_;
  const size_t first = kHeaderLength + 1;  // DIA of the first record
  bytes.replace(first, 2, "1a");
  bytes.replace(first + kRecordLength, 2, "**");
  folder_.WriteFile("SOLUC.DBF", bytes);
  Table table(platform::Env::Default());
  table.Open(folder_.path(), "SOLUC", Sharing::kShared, Access::kReadOnly);
  const std::string message = ErrorOf([&] { table.AsText("DIA"); });
  for (const std::string& part : {Path(), std::string("'DIA'"), std::string("'1a'")}) {
    EXPECT_NE(message.find(part), std::string::npos) << message;
  }
  EXPECT_EQ(table.AsText("PROF"), "P001");  // the rest of the row still reads
  table.Next();
  EXPECT_EQ(table.AsText("DIA"), "");
  EXPECT_EQ(table.AsInteger("DIA"), 0);
}

// Random damage to every fixture: whatever the bytes, the engine ends in its own error or
// reads rows; a crash, a hang or a sanitizer report fails the run.
TEST_F(TableDamageTest, RandomDamageNeverCrashes) {
  const char* files[] = {"soluc_db3_numeric_dia.dbf", "soluc_db3_text_dia.dbf", "soluc_fox.dbf",
                         "soluc_vfp.dbf",  "soluc_gdal.dbf", "soluc_dbase7.dbf"};
  std::mt19937 random(20261209);
  for (const char* file : files) {
    const std::string original = test::FixtureBytes(file);
    for (int round = 0; round < 150; ++round) {
      std::string bytes = original;
      const int flips = 1 + static_cast<int>(random() % 6);
      for (int i = 0; i < flips; ++i) {
        // Most flips hit the header, where the layout is decided.
        const size_t span = random() % 4 == 0 ? bytes.size() : std::min<size_t>(bytes.size(), 600);
        bytes[random() % span] = static_cast<char>(random());
      }
      if (random() % 5 == 0) bytes.resize(random() % bytes.size());
      ErrorOf([&] { Walk(bytes); });
    }
  }
}

}  // namespace
}  // namespace norvalde::tables
