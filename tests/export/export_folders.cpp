#include "tests/export/export_folders.h"

#include <filesystem>

#include "platform/paths.h"
#include "tables/table.h"

namespace norvalde::testing {

std::string Columns(std::initializer_list<std::pair<int, std::string>> values) {
  std::string line;
  for (const auto& [column, value] : values) {
    const size_t start = static_cast<size_t>(column - 1);
    if (line.size() < start) line.resize(start, ' ');
    line.replace(start, value.size(), value);
  }
  return line;
}

ExportFolders::ExportFolders()
    : rovaFolder_(temp_.MakeFolder("rova")), workFolder_(temp_.MakeFolder("QTEMP")) {}

exporting::ExportContext ExportFolders::Context(platform::Env& env) {
  return {env, rovaFolder_ + platform::kPathSeparator, workFolder_, messages};
}

void ExportFolders::WriteRova(const std::string& name,
                              const std::vector<std::string>& lines) const {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  WriteRovaBytes(name, bytes);
}

void ExportFolders::WriteRovaBytes(const std::string& name, const std::string& bytes) const {
  temp_.WriteFile(platform::JoinPath("rova", name), bytes);
}

std::vector<std::vector<std::string>> ExportFolders::Rows(
    const std::string& table, const std::vector<std::string>& fields) const {
  tables::Table reader(platform::Env::Default());
  reader.Open(workFolder_, table, tables::Sharing::kShared, tables::Access::kReadOnly);
  std::vector<std::vector<std::string>> rows;
  for (reader.First(); !reader.AtEnd(); reader.Next()) {
    std::vector<std::string> row;
    for (const std::string& field : fields) row.push_back(reader.AsText(field));
    rows.push_back(std::move(row));
  }
  return rows;
}

std::vector<std::string> ExportFolders::FieldNames(const std::string& table) const {
  tables::Table reader(platform::Env::Default());
  reader.Open(workFolder_, table, tables::Sharing::kShared, tables::Access::kReadOnly);
  return reader.FieldNames();
}

std::string ExportFolders::WorkFile(const std::string& name) const {
  return platform::JoinPath(workFolder_, name);
}

bool ExportFolders::WorkFileExists(const std::string& name) const {
  return std::filesystem::exists(WorkFile(name));
}

void ExportFolders::WriteWorkFile(const std::string& name, const std::string& bytes) const {
  temp_.WriteFile(platform::JoinPath("QTEMP", name), bytes);
}

std::string ExportFolders::ReadWorkFile(const std::string& name) const {
  return temp_.ReadFile(platform::JoinPath("QTEMP", name));
}

}  // namespace norvalde::testing
