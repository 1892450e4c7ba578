// Our tables read by other programs, and tables other programs wrote read by our engine. Both
// sides are compared in the plain form that scripts/dbf_dump.py prints.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/env.h"
#include "tables/dbf_values.h"
#include "tables/work_tables.h"
#include "tests/interop/interop_tools.h"
#include "tests/support/temp_folder.h"
#include "tests/support/write_table.h"

namespace norvalde::tables {
namespace {

using interop::Dump;
using testing::TempFolder;

std::string Trimmed(std::string text) {
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

// The rows written into every table: text with accents and 0xBD, integers to the 32-bit
// limits, numbers with decimals, and an empty row.
struct Sample {
  const char* text;
  const char* integer;
  const char* number;
};
const Sample kSamples[] = {
    {"M\xFAsica \xBD", "-10", "2.99"},
    {"", "", ""},
    {"Educaci\xF3n f\xEDsica y deportiva con un nombre largo", "2147483647", "-0.5"},
    {"\xD1" "and\xFA", "-2147483648", "1234567.25"},
};

// Fills every work table with the samples and returns what a reader must report.
Dump WriteWorkTable(const TempFolder& folder, const WorkTableDefinition& definition) {
  Dump expected;
  for (const FieldDefinition& field : definition.fields) {
    const char* stored = field.type == FieldType::kText      ? "C"
                         : field.type == FieldType::kInteger ? "N 11 0"
                                                             : "N 20 6";
    expected.fields.push_back(field.name + " " + stored +
                              (field.type == FieldType::kText
                                   ? " " + std::to_string(field.width) + " 0"
                                   : std::string()));
  }
  std::vector<std::vector<std::string>> rows;
  for (const Sample& sample : kSamples) {
    rows.emplace_back();
    expected.rows.emplace_back();
    for (const FieldDefinition& field : definition.fields) {
      const std::string value = field.type == FieldType::kText      ? sample.text
                                : field.type == FieldType::kInteger ? sample.integer
                                                                    : sample.number;
      rows.back().push_back(value);
      expected.rows.back().push_back(interop::DumpHex(
          field.type == FieldType::kText ? Trimmed(value.substr(0, field.width)) : value));
    }
  }
  testing::WriteTable(platform::Env::Default(), folder.path(), definition.name + ".DBF",
                      definition.fields, rows);
  return expected;
}

class OurTablesReadByOthersTest : public ::testing::TestWithParam<const char*> {};

TEST_P(OurTablesReadByOthersTest, FieldsAndValuesAreWhatWeWrote) {
  const std::string reader = GetParam();
  if (reader == "dbfread" && !interop::PythonHasModule("dbfread")) {
    GTEST_SKIP() << "/usr/bin/python3 lacks dbfread";
  }
  if (reader == "ogrinfo" && !interop::HaveProgram("ogrinfo")) GTEST_SKIP() << "no ogrinfo";
  TempFolder folder;
  for (const WorkTableDefinition* definition :
       {&AsignomtTable(), &ProftTable(), &AulatTable(), &GrupostTable(), &AsigtTable(),
        &DiashorastTable()}) {
    const Dump expected = WriteWorkTable(folder, *definition);
    const Dump read = interop::DumpTable(reader, folder.Path(definition->name + ".DBF"));
    EXPECT_EQ(read.fields, expected.fields) << definition->name;
    EXPECT_EQ(read.rows, expected.rows) << definition->name;
  }
}

INSTANTIATE_TEST_SUITE_P(Readers, OurTablesReadByOthersTest,
                         ::testing::Values("dbfread", "ogrinfo"));

class TablesWrittenByOthersTest : public ::testing::TestWithParam<const char*> {};

TEST_P(TablesWrittenByOthersTest, OurEngineReadsWhatDbfreadReads) {
  const std::string writer = GetParam();
  if (!interop::PythonHasModule("dbfread")) GTEST_SKIP() << "/usr/bin/python3 lacks dbfread";
  const bool byGdal = writer.starts_with("ogr2ogr");
  if (byGdal && !interop::HaveProgram("ogr2ogr")) GTEST_SKIP() << "no ogr2ogr";
  if (!byGdal && !interop::PythonHasModule("dbf")) GTEST_SKIP() << "/usr/bin/python3 lacks dbf";

  TempFolder folder;
  const std::string path = folder.Path("WRITTEN.DBF");
  interop::RunScript("dbf_write.py", writer, path);
  // dbfread skips a row whose deletion flag is 0x00; python3-dbf reads it as live, as we do.
  const std::string reader = writer == "db3-unset-flags" ? "dbf" : "dbfread";
  const Dump reported = interop::DumpTable(reader, path);
  ASSERT_FALSE(reported.rows.empty());

  Table table(platform::Env::Default());
  table.Open(folder.path(), "WRITTEN", Sharing::kShared, Access::kReadOnly);
  const std::vector<std::string> reportedNames = reported.FieldNames();
  EXPECT_EQ(table.FieldNames(), reportedNames);
  Dump ours;
  size_t row = 0;
  for (table.First(); !table.AtEnd(); table.Next(), ++row) {
    ASSERT_LT(row, reported.rows.size());
    ours.rows.emplace_back();
    for (size_t i = 0; i < reportedNames.size(); ++i) {
      // Memo text lives in another file; the engine reads only the block reference.
      const bool memo = reported.rows[row][i] == "~";
      ours.rows.back().push_back(memo ? "~" : interop::DumpHex(table.AsText(reportedNames[i])));
    }
  }
  EXPECT_EQ(ours.rows, reported.rows);
}

INSTANTIATE_TEST_SUITE_P(Writers, TablesWrittenByOthersTest,
                         ::testing::Values("db3", "db3-unset-flags", "fp", "vfp", "ogr2ogr",
                                           "ogr2ogr-cp850"),
                         [](const auto& info) {
                           std::string name = info.param;
                           std::replace(name.begin(), name.end(), '-', '_');
                           return name;
                         });

}  // namespace
}  // namespace norvalde::tables
