// The honest floor is what the benchmark's ratios divide by: a file missing from it, or counted
// twice, would make every ratio lie. On a generated school folder, the files the floor reads
// and writes are checked against the folders themselves.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "bench/rova_generator.h"
#include "bench/scales.h"
#include "bench/stages.h"
#include "tests/support/temp_folder.h"

namespace norvalde::bench {
namespace {

namespace fs = std::filesystem;

// The entries of `values` whose key starts with `kind` ("input:", ...), keyed by file name.
std::map<std::string, double> FilesOf(const Values& values, const std::string& kind) {
  std::map<std::string, double> files;
  for (const auto& [key, amount] : values)
    if (key.rfind(kind, 0) == 0) files[fs::path(key.substr(kind.size())).filename().string()] = amount;
  return files;
}

double Size(const std::string& folder, const std::string& name) {
  return static_cast<double>(fs::file_size(folder + "/" + name));
}

double Sum(const std::map<std::string, double>& files) {
  double total = 0;
  for (const auto& [name, amount] : files) total += amount;
  return total;
}

TEST(Floor, ReadsEachInputOnceAndWritesEachFileLeftOnce) {
  testing::TempFolder root;
  BenchFolders folders{root.MakeFolder("rova"), root.MakeFolder("work"), root.MakeFolder("scratch")};
  const Scale school = *FindScale("school");
  GenerateRovaFiles(school, 1, folders.rova);
  GenerateSoluc(school, 1, folders.work);

  // A second Export finds the first one's tables, opens and replaces them: they are no input.
  Values exported;
  ExportStage(folders, exported);
  exported.clear();
  ExportStage(folders, exported);
  const std::map<std::string, double> exportInputs = FilesOf(exported, "input:");
  ASSERT_EQ(exportInputs.size(), 7u);
  for (const auto& [name, amount] : exportInputs) EXPECT_EQ(amount, Size(folders.rova, name)) << name;
  // The Export reads and re-writes ASIGT pass after pass; the floor writes each table once.
  const std::map<std::string, double> exportOutputs = FilesOf(exported, "output:");
  EXPECT_EQ(exportOutputs.size(), 6u);
  for (const auto& [name, amount] : exportOutputs) EXPECT_EQ(amount, Size(folders.work, name)) << name;
  EXPECT_GT(exported.at("written"), Sum(exportOutputs));

  Values imported;
  ImportStage(folders, imported);
  const std::map<std::string, double> importInputs = FilesOf(imported, "input:");
  EXPECT_EQ(importInputs.at("SOLUC.DBF"), Size(folders.work, "SOLUC.DBF"));
  EXPECT_EQ(importInputs.count("ROVA_HORARIO.TXT"), 0u);
  // The output file is written under a temporary name, synced and renamed into place.
  const std::map<std::string, double> importOutputs = FilesOf(imported, "output:");
  ASSERT_EQ(importOutputs.size(), 1u);
  EXPECT_EQ(importOutputs.at("ROVA_HORARIO.TXT"), Size(folders.rova, "ROVA_HORARIO.TXT"));
  EXPECT_EQ(FilesOf(imported, "rename:").count("ROVA_HORARIO.TXT"), 1u);
  EXPECT_EQ(FilesOf(imported, "sync:").count("ROVA_HORARIO.TXT"), 1u);

  for (const Values* step : {&exported, &imported}) {
    Values floor;
    FloorStage(*step, folders, floor);
    EXPECT_EQ(floor.at("read"), Sum(FilesOf(*step, "input:")));
    EXPECT_EQ(floor.at("written"), Sum(FilesOf(*step, "output:")));
  }
  EXPECT_TRUE(fs::is_empty(folders.scratch));  // the floor's files are gone again
}

}  // namespace
}  // namespace norvalde::bench
