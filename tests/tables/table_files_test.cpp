// The table file on disk: locks between openings, missing and read-only files, and a table
// that stays valid however its writing ends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "platform/paths.h"
#include "tables/table.h"
#include "tests/support/faulty_env.h"
#include "tests/support/os_errors.h"
#include "tests/support/temp_folder.h"
#include "tests/tables/table_test_files.h"

namespace norvalde::tables {
namespace {

using testing::ErrorOf;
using testing::FaultyEnv;
using testing::Operation;
using testing::TempFolder;

#ifdef _WIN32
constexpr int kDiskFull = 112;  // ERROR_DISK_FULL
#else
constexpr int kDiskFull = ENOSPC;
#endif

const std::vector<FieldDefinition> kFields = {{"COD", FieldType::kText, 4},
                                              {"HORAS", FieldType::kNumber}};
constexpr size_t kHeaderLength = 32 + 2 * 32 + 1;
constexpr size_t kRecordLength = 1 + 4 + 20;

uint32_t HeaderCount(const std::string& bytes) {
  return static_cast<uint8_t>(bytes[4]) | static_cast<uint8_t>(bytes[5]) << 8 |
         static_cast<uint8_t>(bytes[6]) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[7])) << 24;
}

// Every table file we leave must be whole: the header counts exactly the records present, and
// the end marker follows them.
void ExpectValidTable(const std::string& bytes, uint32_t rows) {
  ASSERT_EQ(bytes.size(), kHeaderLength + rows * kRecordLength + 1);
  EXPECT_EQ(HeaderCount(bytes), rows);
  EXPECT_EQ(bytes.back(), '\x1A');
}

class TableFilesTest : public ::testing::Test {
 protected:
  void SetUp() override { Table::Create(env_, folder_.path(), "T.DBF", kFields); }
  void AppendRows(Table& table, int rows) {
    for (int i = 0; i < rows; ++i) {
      table.Append();
      table.SetText("COD", "C" + std::to_string(i % 1000));
      table.SetNumber("HORAS", i);
      table.Post();
    }
  }
  int CountRows() {
    Table table(env_);
    table.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadOnly);
    int rows = 0;
    for (table.First(); !table.AtEnd(); table.Next()) ++rows;
    return rows;
  }

  TempFolder folder_;
  FaultyEnv env_;
};

TEST_F(TableFilesTest, ExclusiveOpensKeepOthersOutAndSharedOnesCoexist) {
  struct Case {
    Sharing first, second;
    bool secondOpens;
  };
  const Case cases[] = {
      {Sharing::kShared, Sharing::kShared, true},
      {Sharing::kShared, Sharing::kExclusive, false},
      {Sharing::kExclusive, Sharing::kShared, false},
      {Sharing::kExclusive, Sharing::kExclusive, false},
  };
  for (const Case& c : cases) {
    Table first(env_), second(env_);
    first.Open(folder_.path(), "T", c.first, Access::kReadWrite);
    const std::string message =
        ErrorOf([&] { second.Open(folder_.path(), "T", c.second, Access::kReadOnly); });
    if (c.secondOpens) {
      EXPECT_EQ(message, "<no error>");
      continue;
    }
    EXPECT_EQ(message, "No se puede abrir la tabla \"" + folder_.Path("T.DBF") +
                           "\": la tabla está en uso por otro programa");
    first.Close();
    second.Open(folder_.path(), "T", c.second, Access::kReadOnly);  // free once closed
  }
}

TEST_F(TableFilesTest, CreatingATableInUseFailsAndLeavesItAsItWas) {
  Table holder(env_);
  holder.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadWrite);
  AppendRows(holder, 3);
  holder.Close();
  holder.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadOnly);
  const std::string before = folder_.ReadFile("T.DBF");
  EXPECT_NE(ErrorOf([&] { Table::Create(env_, folder_.path(), "T.DBF", kFields); })
                .find("en uso por otro programa"),
            std::string::npos);
  EXPECT_EQ(folder_.ReadFile("T.DBF"), before);
}

TEST_F(TableFilesTest, MissingFolderAndFileAreNamedInTheError) {
  Table table(env_);
  const std::string missing = folder_.Path("NADA");
  const auto open = [&](const std::string& folder, const char* name) {
    table.Open(folder, name, Sharing::kExclusive, Access::kReadWrite);
  };
  EXPECT_EQ(ErrorOf([&] { open(missing, "SOLUC"); }),
            "No se puede abrir la tabla \"" + platform::JoinPath(missing, "SOLUC.DBF") +
                "\": no existe la carpeta");
  EXPECT_EQ(ErrorOf([&] { open(folder_.path(), "PROFT"); }),
            "No se puede abrir la tabla \"" + folder_.Path("PROFT.DBF") +
                "\": no existe el archivo");
  EXPECT_EQ(ErrorOf([&] { Table::Create(env_, missing, "A.DBF", kFields); }),
            "No se puede crear la tabla \"" + platform::JoinPath(missing, "A.DBF") +
                "\": no existe la carpeta");
  // A folder under the table's name is named as what it is.
  folder_.MakeFolder("SOLUC.DBF");
  folder_.MakeFolder("ASIGT.DBF");
  const std::string inPlace = "\": en su lugar hay una carpeta con ese nombre";
  const auto shared = [&] {
    table.Open(folder_.path(), "SOLUC", Sharing::kShared, Access::kReadOnly);
  };
  EXPECT_EQ(ErrorOf(shared), "No se puede abrir la tabla \"" + folder_.Path("SOLUC.DBF") + inPlace);
  EXPECT_EQ(ErrorOf([&] { Table::Create(env_, folder_.path(), "ASIGT.DBF", kFields); }),
            "No se puede crear la tabla \"" + folder_.Path("ASIGT.DBF") + inPlace);
  EXPECT_FALSE(table.IsOpen());
}

// Refuses to open T.DBF for writing, as the system does for a read-only file.
class ReadOnlyFileEnv : public platform::EnvWrapper {
 public:
  using EnvWrapper::EnvWrapper;
  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override {
    const bool writes = mode == platform::OpenMode::kReadWriteShared ||
                        mode == platform::OpenMode::kReadWriteExclusive ||
                        mode == platform::OpenMode::kCreateExclusive;
    if (writes && path.ends_with("T.DBF")) return testing::kErrorAccessDenied;
    return EnvWrapper::Open(path, mode, file);
  }
};

TEST_F(TableFilesTest, AReadOnlyFileOpensReadOnlyAndRefusesChanges) {
  ReadOnlyFileEnv readOnly(env_);
  Table table(readOnly);
  table.Open(folder_.path(), "T.DBF", Sharing::kExclusive, Access::kReadWrite);
  EXPECT_TRUE(table.AtEnd());
  EXPECT_EQ(ErrorOf([&] { table.Append(); }),
            "No se puede modificar la tabla \"" + folder_.Path("T.DBF") +
                "\": está abierta solo para lectura");
  EXPECT_NE(ErrorOf([&] { Table::Create(readOnly, folder_.path(), "T.DBF", kFields); })
                .find("acceso denegado"),
            std::string::npos);
}

TEST_F(TableFilesTest, TheFileIsAValidTableWhileRowsAreBuffered) {
  Table table(env_);
  table.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadWrite);
  AppendRows(table, 30000);  // several blocks reach the disk while the table stays open
  const std::string bytes = folder_.ReadFile("T.DBF");
  const uint32_t written = HeaderCount(bytes);
  EXPECT_GT(written, 0u);
  EXPECT_LT(written, 30000u);
  ExpectValidTable(bytes, written);
  table.Close();
  ExpectValidTable(folder_.ReadFile("T.DBF"), 30000);
}

TEST_F(TableFilesTest, DestroyingTheTableStoresItsRowsAndDropsThePendingOne) {
  {
    Table table(env_);
    table.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadWrite);
    AppendRows(table, 5);
    table.Append();
    table.SetText("COD", "lost");
  }
  ExpectValidTable(folder_.ReadFile("T.DBF"), 5);
}

TEST_F(TableFilesTest, AFailedWriteLeavesExactlyTheRowsStored) {
  Table table(env_);
  table.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadWrite);
  // The first block and its header reach the disk; the second block's write finds it full.
  env_.FailNth(Operation::kWrite, 3, kDiskFull);
  const std::string message = ErrorOf([&] { AppendRows(table, 30000); });
  EXPECT_EQ(message, "No se puede escribir en la tabla \"" + folder_.Path("T.DBF") +
                         "\": el disco está lleno");
  table.Close();
  const std::string bytes = folder_.ReadFile("T.DBF");
  const uint32_t stored = HeaderCount(bytes);
  EXPECT_GT(stored, 0u);
  ExpectValidTable(bytes, stored);
  EXPECT_EQ(CountRows(), static_cast<int>(stored));
}

TEST_F(TableFilesTest, AFailedHeaderUpdateOnCloseIsReportedAndTheRowsDropped) {
  Table table(env_);
  table.Open(folder_.path(), "T.DBF", Sharing::kShared, Access::kReadWrite);
  AppendRows(table, 3);
  // The rows go, the new count does not.
  env_.FailNth(Operation::kWrite, 2, testing::kErrorDeviceFault);
  EXPECT_NE(ErrorOf([&] { table.Close(); }).find(folder_.Path("T.DBF")), std::string::npos);
  EXPECT_FALSE(table.IsOpen());
  ExpectValidTable(folder_.ReadFile("T.DBF"), 0);
}

}  // namespace
}  // namespace norvalde::tables
