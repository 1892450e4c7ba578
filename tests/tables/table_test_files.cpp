#include "tests/tables/table_test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace norvalde::tables::test {

std::string FixtureBytes(const std::string& name) {
  std::ifstream in(std::string(NORVALDE_TABLES_TEST_DATA) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in.good()) << "missing fixture " << name;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void CopyFixture(const testing::TempFolder& folder, const std::string& name,
                 const std::string& as) {
  folder.WriteFile(as.empty() ? name : as, FixtureBytes(name));
}

void PutLittle16(std::string& bytes, size_t at, unsigned value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}

void PutLittle32(std::string& bytes, size_t at, unsigned value) {
  PutLittle16(bytes, at, value & 0xFFFF);
  PutLittle16(bytes, at + 2, value >> 16);
}

}  // namespace norvalde::tables::test
