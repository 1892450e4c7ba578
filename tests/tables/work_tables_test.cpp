// The six work tables as the Export re-creates them, keeping the ones they replace. Values cut
// to a field's width are the engine's rule (round-trip suite), on these tables the conversions'.
#include "tables/work_tables.h"

#include "export/work_table_recreation.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/paths.h"
#include "tests/support/faulty_env.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/os_errors.h"
#include "tests/support/temp_folder.h"
#include "tests/tables/table_test_files.h"

namespace norvalde::tables {
namespace {

using exporting::KeptTables;
using exporting::RecreateWorkTable;
using testing::ErrorOf;
using testing::FaultyEnv;
using testing::FileNames;
using testing::Operation;
using testing::TempFolder;

// "NAME type length.decimals" for each descriptor, read straight from the file's bytes.
std::vector<std::string> StoredFields(const std::string& bytes) {
  std::vector<std::string> fields;
  for (size_t at = 32; at + 32 <= bytes.size() && bytes[at] != '\x0D'; at += 32) {
    fields.push_back(std::string(bytes.c_str() + at) + " " + bytes[at + 11] + " " +
                     std::to_string(static_cast<uint8_t>(bytes[at + 16])) + "." +
                     std::to_string(static_cast<uint8_t>(bytes[at + 17])));
  }
  return fields;
}

class WorkTablesTest : public ::testing::Test {
 protected:
  void Recreate(const WorkTableDefinition& definition) {
    Table table(env_);
    RecreateWorkTable(kept_, definition, table);
    EXPECT_TRUE(table.IsOpen());
    EXPECT_TRUE(table.AtEnd());
  }

  TempFolder folder_;
  testing::FixedClockEnv clock_;
  FaultyEnv env_{clock_};
  KeptTables kept_{env_, folder_.path()};
  const std::string keeping_ = folder_.Path("Copias de Norvalde");
  const std::string run_ = platform::JoinPath(keeping_, "2024-03-15 09.05.00");
};

TEST_F(WorkTablesTest, TheSixTablesHaveTheirFieldsInOrder) {
  const std::vector<std::pair<const WorkTableDefinition*, std::vector<std::string>>> expected = {
      {&AsignomtTable(), {"COD C 4.0", "CODLARGO C 8.0", "NOMBRE C 40.0", "MATERIA C 8.0"}},
      {&ProftTable(),
       {"ABREV C 4.0", "NOMBRE C 40.0", "DEPART C 40.0", "DNI N 11.0", "X_EMPLEADO C 10.0",
        "F_TOMAPOS C 10.0"}},
      {&AulatTable(),
       {"ABREV C 4.0", "NOMBRE C 40.0", "EDIFICIO C 1.0", "MAXALUM N 11.0", "DEPCENTRO C 10.0"}},
      {&GrupostTable(),
       {"ABREV C 4.0", "TURNO C 1.0", "NIVEL C 5.0", "CURSO C 3.0", "GRUPO C 2.0",
        "UNIDAD C 10.0"}},
      {&AsigtTable(),
       {"CASIG C 4.0", "CPROF C 4.0", "CGRUP C 4.0", "CAULA C 4.0", "TURNO C 1.0", "NIVEL C 5.0",
        "CURSO C 3.0", "GRUPO C 2.0", "HORAS N 20.6", "SESIONES C 20.0"}},
      {&DiashorastTable(),
       {"DIHO C 10.0", "CODDIHO C 10.0", "DIA C 20.0", "TEXTODIA C 20.0", "HORA C 8.0",
        "HORADESDE C 8.0", "HORAHASTA C 8.0", "MINUTOS C 8.0"}},
  };
  std::set<std::string> files;
  for (const auto& [definition, fields] : expected) {
    Recreate(*definition);
    const std::string file = definition->name + ".DBF";
    EXPECT_EQ(StoredFields(folder_.ReadFile(file)), fields) << file;
    files.insert(file);
  }
  EXPECT_EQ(FileNames(folder_.path()), files);
}

TEST_F(WorkTablesTest, AnOlderTableAndItsIndexAreKeptWhateverTheirCase) {
  test::CopyFixture(folder_, "soluc_gdal.dbf", "asignomt.dbf");
  const std::string old = folder_.ReadFile("asignomt.dbf");
  folder_.WriteFile("ASIGNOMT.MDX", "index");
  Recreate(AsignomtTable());
  EXPECT_EQ(FileNames(folder_.path()),
            (std::set<std::string>{"ASIGNOMT.DBF", "Copias de Norvalde"}));
  EXPECT_EQ(FileNames(run_), (std::set<std::string>{"asignomt.dbf", "ASIGNOMT.MDX"}));
  EXPECT_EQ(folder_.ReadFile("Copias de Norvalde/2024-03-15 09.05.00/asignomt.dbf"), old);
  Table table(env_);
  table.Open(folder_.path(), "ASIGNOMT", Sharing::kShared, Access::kReadOnly);
  EXPECT_EQ(table.FieldNames(), (std::vector<std::string>{"COD", "CODLARGO", "NOMBRE", "MATERIA"}));
  EXPECT_TRUE(table.AtEnd());
}

// Where the old files cannot be kept, the table is not touched: no truncating in place.
TEST_F(WorkTablesTest, AnOldTableThatCannotBeKeptStopsTheExportUntouched) {
  folder_.WriteFile("ASIGNOMT.DBF", "old table");
  folder_.WriteFile("Copias de Norvalde", "");  // a file where the keeping folder goes
  Table table(env_);
  EXPECT_EQ(ErrorOf([&] { RecreateWorkTable(kept_, AsignomtTable(), table); }),
            "No se puede crear la carpeta \"" + keeping_ +
                "\": ya existe un archivo con ese nombre");
  ASSERT_EQ(env_.DeleteFile(keeping_), 0);
  const std::string cause = ": acceso denegado";
  const struct {
    Operation operation;
    int nth;
    std::string error;
  } cases[] = {
      {Operation::kList, 1, "No se puede leer la carpeta \"" + folder_.path() + "\"" + cause},
      {Operation::kMakeFolder, 1, "No se puede crear la carpeta \"" + keeping_ + "\"" + cause},
      {Operation::kMakeFolder, 2, "No se puede crear la carpeta \"" + run_ + "\"" + cause},
      {Operation::kMove, 1, "No se puede mover el archivo \"" + folder_.Path("ASIGNOMT.DBF") +
                                "\" a la carpeta \"" + run_ + "\"" + cause},
  };
  for (const auto& failure : cases) {
    env_.FailNth(failure.operation, failure.nth, testing::kErrorAccessDenied);
    EXPECT_EQ(ErrorOf([&] { RecreateWorkTable(kept_, AsignomtTable(), table); }),
              failure.error);
    EXPECT_EQ(folder_.ReadFile("ASIGNOMT.DBF"), "old table");
  }
}

TEST_F(WorkTablesTest, ATableHeldByAnotherProgramIsKeptAndItsCreationFails) {
  Recreate(GrupostTable());
  const std::string before = folder_.ReadFile("GRUPOST.DBF");
  Table holder(env_);
  holder.Open(folder_.path(), "GRUPOST", Sharing::kShared, Access::kReadOnly);
  Table table(env_);
  EXPECT_EQ(ErrorOf([&] { RecreateWorkTable(kept_, GrupostTable(), table); }),
            "No se puede crear la tabla \"" + folder_.Path("GRUPOST.DBF") +
                "\": la tabla está en uso por otro programa");
  EXPECT_EQ(folder_.ReadFile("GRUPOST.DBF"), before);
}

}  // namespace
}  // namespace norvalde::tables
