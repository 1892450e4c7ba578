// Writes the whole-run harnesses' first seeds from the project's sample ROVA folder:
//   make_seeds <samples folder> <export seed file> <import seed file>
// The Export seed is the seven sample files; the Import seed is the two files the Import reads
// and the six tables an Export of the samples makes, with a SOLUC of a few lessons.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "core/error.h"
#include "export/export.h"
#include "fuzz/folder_input.h"
#include "fuzz/folder_paths.h"
#include "fuzz/memory_env.h"
#include "fuzz/silent_sink.h"
#include "tables/table.h"

namespace {

using namespace norvalde::fuzzing;
using norvalde::tables::FieldType;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteSoluc(MemoryEnv& env) {
  norvalde::tables::Table::Create(
      env, kWorkFolder, "SOLUC.DBF",
      {{"DIA", FieldType::kInteger}, {"HORA", FieldType::kText, 2}, {"PROF", FieldType::kText, 5},
       {"CODGRUPO", FieldType::kText, 4}, {"ASIG", FieldType::kText, 4},
       {"AULA", FieldType::kText, 4}});
  norvalde::tables::Table soluc(env);
  soluc.Open(kWorkFolder, "SOLUC", norvalde::tables::Sharing::kExclusive,
             norvalde::tables::Access::kReadWrite);
  for (int row = 0; row < 6; ++row) {
    soluc.Append();
    soluc.SetNumber("DIA", row % 5);
    soluc.SetText("HORA", std::to_string(1 + row % 3));
    soluc.SetText("PROF", "P0" + std::to_string(row % 2));
    soluc.SetText("CODGRUPO", "1EA");
    soluc.SetText("ASIG", row % 2 ? "MAT" : "LEN");
    soluc.SetText("AULA", "A12");
    soluc.Post();
  }
  soluc.Close();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: make_seeds <samples folder> <export seed> <import seed>\n";
    return 2;
  }
  const std::string samples = argv[1];
  MemoryEnv env;
  std::vector<std::string> exportParts;
  for (const std::string& path : ExportInputPaths()) {
    exportParts.push_back(ReadFile(samples + "/" + path.substr(kRovaFolder.size())));
    env.Put(path, exportParts.back());
  }
  std::ofstream(argv[2], std::ios::binary) << JoinParts(exportParts);

  SilentSink sink;
  try {
    norvalde::exporting::RunExport({env, kRovaFolder, kWorkFolder, sink});
    WriteSoluc(env);
  } catch (const norvalde::Error& error) {
    std::cerr << "make_seeds: " << error.what() << "\n";
    return 1;
  }
  std::vector<std::string> importParts;
  for (const std::string& path : ImportInputPaths()) importParts.push_back(*env.files[path]);
  std::ofstream(argv[3], std::ios::binary) << JoinParts(importParts);
  return 0;
}
