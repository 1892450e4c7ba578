// The generated folders are what the benchmark claims to measure: the same bytes for the same
// seed, and data the Export and the Import go through end to end without a message, with the
// repeated codes dropped and every placed lesson written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "bench/rova_generator.h"
#include "bench/scales.h"
#include "export/export.h"
#include "import/import.h"
#include "platform/paths.h"
#include "tables/table.h"
#include "import/import_tables.h"
#include "tables/work_tables.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_folder.h"

namespace norvalde::bench {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> FolderBytes(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::ifstream in(entry.path(), std::ios::binary);
    files[entry.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return files;
}

int64_t RowCount(const std::string& folder, const std::string& table) {
  tables::Table opened(platform::Env::Default());
  opened.Open(folder, table, tables::Sharing::kShared, tables::Access::kReadOnly);
  int64_t rows = 0;
  for (opened.First(); !opened.AtEnd(); opened.Next()) ++rows;
  return rows;
}

TEST(Generator, SameSeedSameBytesOtherSeedOtherBytes) {
  testing::TempFolder root;
  const Scale school = *FindScale("school");
  for (const char* folder : {"a", "b", "c"}) root.MakeFolder(folder);
  GenerateRovaFiles(school, 7, root.Path("a"));
  GenerateRovaFiles(school, 7, root.Path("b"));
  GenerateRovaFiles(school, 8, root.Path("c"));
  EXPECT_EQ(FolderBytes(root.Path("a")), FolderBytes(root.Path("b")));
  EXPECT_NE(FolderBytes(root.Path("a")), FolderBytes(root.Path("c")));
  EXPECT_EQ(FolderBytes(root.Path("a")).size(), 7u);
}

// SOLUC is written through the engine, which stamps today's date into the header (bytes 1 to
// 3); everything else is the seed's.
TEST(Generator, SameSeedSameSolucAfterTheHeaderDate) {
  testing::TempFolder root;
  const Scale school = *FindScale("school");
  for (const char* folder : {"a", "b", "c"}) root.MakeFolder(folder);
  GenerateSoluc(school, 7, root.Path("a"));
  GenerateSoluc(school, 7, root.Path("b"));
  GenerateSoluc(school, 8, root.Path("c"));
  auto withoutDate = [&](const char* folder) {
    std::string bytes = root.ReadFile(std::string(folder) + "/SOLUC.DBF");
    return bytes.size() < 4 ? bytes : bytes.erase(1, 3);
  };
  EXPECT_GT(withoutDate("a").size(), static_cast<size_t>(school.solucRows));
  EXPECT_EQ(withoutDate("a"), withoutDate("b"));
  EXPECT_NE(withoutDate("a"), withoutDate("c"));
}

TEST(Generator, SchoolFolderGoesThroughExportAndImport) {
  testing::TempFolder root;
  const Scale school = *FindScale("school");
  const std::string rova = root.MakeFolder("rova"), work = root.MakeFolder("QTEMP");
  GenerateRovaFiles(school, 1, rova);
  GenerateSoluc(school, 1, work);
  platform::Env& env = platform::Env::Default();
  testing::RecordingMessageSink sink;
  const std::string carpeta = rova + platform::kPathSeparator;
  exporting::RunExport({env, carpeta, work, sink});
  importing::ImportTables importTables(env);
  importing::RunImport({env, carpeta, work, sink}, importTables);
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Proceso finalizado", "Proceso Terminado"}));

  // Lines repeating a code in lower case are dropped by the duplicate filter.
  EXPECT_EQ(RowCount(work, "ASIGNOMT"), school.subjects);
  EXPECT_EQ(RowCount(work, "PROFT"), school.teachers);
  EXPECT_EQ(RowCount(work, "GRUPOST"), school.groups);
  EXPECT_EQ(RowCount(work, "ASIGT"), school.assignments);
  EXPECT_EQ(RowCount(work, "DIASHORAST"), int64_t{school.days} * school.periodsPerDay);

  // One lesson record per placed row; the trailer ends with their number.
  int64_t placed = 0;
  tables::Table soluc(env);
  soluc.Open(work, "SOLUC", tables::Sharing::kShared, tables::Access::kReadOnly);
  for (soluc.First(); !soluc.AtEnd(); soluc.Next()) placed += soluc.AsInteger("DIA") != 0;
  soluc.Close();
  EXPECT_GT(placed, school.solucRows * 9 / 10);
  EXPECT_LT(placed, school.solucRows);
  std::ifstream in(carpeta + "ROVA_HORARIO.TXT", std::ios::binary);
  const std::string horario(std::istreambuf_iterator<char>(in), {});
  EXPECT_EQ(horario.substr(horario.rfind("\r\n9") + 3).substr(70), std::to_string(placed) + "\r\n");
}

}  // namespace
}  // namespace norvalde::bench
