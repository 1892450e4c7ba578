// Field handles: a field looked up once by name and used for every row after.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/error.h"
#include "tables/table.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/temp_folder.h"
#include "tests/tables/table_test_files.h"

namespace norvalde::tables {
namespace {

class FieldHandles : public ::testing::Test {
 protected:
  void SetUp() override {
    Table::Create(env_, folder_.path(), "T.DBF",
                  {{"NOMBRE", FieldType::kText, 6}, {"HORAS", FieldType::kNumber}});
    table_.Open(folder_.path(), "T", Sharing::kShared, Access::kReadWrite);
  }

  testing::TempFolder folder_;
  testing::FixedClockEnv env_{{2026, 12, 9, 8, 30}};
  Table table_{env_, "wwTableSoluc"};
};

TEST_F(FieldHandles, OneLookupServesEveryRowAndMatchesIgnoringCase) {
  const FieldHandle nombre = table_.FindField("nombre");
  const FieldHandle horas = table_.FindField("Horas");
  ASSERT_TRUE(nombre.found() && horas.found());
  for (int i = 0; i < 3; ++i) {
    table_.Append();
    table_.SetText(nombre, "N" + std::to_string(i));
    table_.SetNumber(horas, i + 0.5);
    table_.Post();
  }
  std::vector<std::string> read;
  for (table_.First(); !table_.AtEnd(); table_.Next()) {
    read.push_back(table_.AsText(nombre) + "=" + table_.AsText(horas));
    EXPECT_EQ(table_.AsText(nombre), table_.AsText("NOMBRE"));  // the same field by name
  }
  EXPECT_EQ(read, (std::vector<std::string>{"N0=0.5", "N1=1.5", "N2=2.5"}));
}

// The lookup never fails: the error is the by-name one, and comes at the first access.
TEST_F(FieldHandles, AMissingFieldFailsAtItsFirstUseWithTheByNameError) {
  FieldHandle aula;
  EXPECT_NO_THROW(aula = table_.FindField("aula"));
  EXPECT_FALSE(aula.found());
  EXPECT_EQ(test::ErrorOf([&] { table_.AsText(aula); }),
            "wwTableSoluc: No se encuentra el campo 'aula'");
  EXPECT_EQ(test::ErrorOf([&] { table_.AsText(aula); }),
            test::ErrorOf([&] { table_.AsText("aula"); }));
  table_.Append();
  EXPECT_EQ(test::ErrorOf([&] { table_.SetText(aula, "A1"); }),
            "wwTableSoluc: No se encuentra el campo 'aula'");
}

TEST_F(FieldHandles, LookingUpNeedsAnOpenTable) {
  table_.Close();
  EXPECT_EQ(test::ErrorOf([&] { table_.FindField("NOMBRE"); }), "La tabla no está abierta");
}

}  // namespace
}  // namespace norvalde::tables
