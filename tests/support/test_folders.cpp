#include "tests/support/test_folders.h"

#include <gtest/gtest.h>

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

std::string CrLfLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TestFolders::TestFolders()
    : rovaFolder_(temp_.MakeFolder("rova")), workFolder_(temp_.MakeFolder("QTEMP")) {}

ActionContext TestFolders::Context(platform::Env& env) {
  return {env, Carpeta(), workFolder_, messages};
}

std::string TestFolders::Carpeta() const { return rovaFolder_ + platform::kPathSeparator; }

void TestFolders::WriteRova(const std::string& name, const std::vector<std::string>& lines) const {
  WriteRovaBytes(name, CrLfLines(lines));
}

void TestFolders::WriteRovaBytes(const std::string& name, const std::string& bytes) const {
  temp_.WriteFile(platform::JoinPath("rova", name), bytes);
}

std::string TestFolders::ReadRova(const std::string& name) const {
  return ReadBytes(platform::JoinPath(rovaFolder_, name));
}

std::vector<std::string> TestFolders::RovaFileNames() const {
  const std::set<std::string> names = FileNames(rovaFolder_);
  return {names.begin(), names.end()};
}

std::vector<std::vector<std::string>> TestFolders::Rows(
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

std::vector<std::string> TestFolders::FieldNames(const std::string& table) const {
  tables::Table reader(platform::Env::Default());
  reader.Open(workFolder_, table, tables::Sharing::kShared, tables::Access::kReadOnly);
  return reader.FieldNames();
}

std::string TestFolders::WorkFile(const std::string& name) const {
  return platform::JoinPath(workFolder_, name);
}

bool TestFolders::WorkFileExists(const std::string& name) const {
  return std::filesystem::exists(WorkFile(name));
}

void TestFolders::WriteWorkFile(const std::string& name, const std::string& bytes) const {
  temp_.WriteFile(platform::JoinPath("QTEMP", name), bytes);
}

std::string TestFolders::ReadWorkFile(const std::string& name) const {
  return temp_.ReadFile(platform::JoinPath("QTEMP", name));
}

void TestFolders::SpoilNumber(const std::string& name) const {
  std::string bytes = ReadWorkFile(name);
  const size_t at = bytes.find("424242");
  ASSERT_NE(at, std::string::npos) << "no 424242 in " << name;
  bytes.replace(at, 6, "42x4?2");
  WriteWorkFile(name, bytes);
}

}  // namespace norvalde::testing
