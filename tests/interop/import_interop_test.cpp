// The Import on SOLUC tables written by independent dBASE writers. The writers run here,
// through scripts/import_write_soluc.py.
#include <gtest/gtest.h>

#include <filesystem>

#include "core/error.h"
#include "import_work_folder.h"
#include "tests/interop/interop_tools.h"

namespace norvalde::importing::testing {
namespace {

namespace fs = std::filesystem;

class ImportIndependentSolucTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ImportIndependentSolucTest, WritesTheSameTimetable) {
  if (!interop::PythonHasModule("dbf") || !interop::HaveProgram("ogr2ogr")) {
    GTEST_SKIP() << "python3-dbf or gdal-bin is missing";
  }
  ImportWorkFolder folder;
  folder.Prepare('L', {{"L", "1", "S011"}, {"J", "2", "S042"}, {"J", "2", "S999"}}, {});
  fs::remove(folder.workFolder() + "/SOLUC.DBF");
  interop::RunScript("import_write_soluc.py", GetParam(), folder.workFolder());

  folder.Run();

  // "Mús" comes back as Windows-1252 whatever the table's own code page.
  EXPECT_EQ(folder.ReadOutput(), CrLfLines({HorarioHeader(),
                                            "1S011LP01 1ESALEC MAT A12 ",
                                            "1S042JP01052ESBLEC M\xFAs A14 ",
                                            "1    VP03 3ESCLEC ING     ",
                                            HorarioTrailer(3)}));
  EXPECT_EQ(folder.messages.events,
            (std::vector<std::string>{"<cursor restored>", "Proceso Terminado"}));
}

INSTANTIATE_TEST_SUITE_P(Writers, ImportIndependentSolucTest,
                         ::testing::Values("dbf-numeric", "dbf-text", "ogr-lowercase"),
                         [](const auto& info) {
                           std::string name = info.param;
                           name.erase(name.find('-'), 1);
                           return name;
                         });

}  // namespace
}  // namespace norvalde::importing::testing
