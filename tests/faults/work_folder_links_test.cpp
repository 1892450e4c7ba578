// Symbolic links named like the files a run replaces: the run removes the link and writes a
// regular file in its place, and nothing is ever created or written where a link points.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "export/export.h"
#include "import/import.h"
#include "platform/paths.h"
#include "small_rova_folder.h"
#include "tables/work_tables.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_folder.h"

namespace norvalde::faults {
namespace {

namespace fs = std::filesystem;
using norvalde::testing::RecordingMessageSink;

bool IsRegularFile(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

TEST(WorkFolderLinks, RunsReplaceLinksAndWriteNothingWhereTheyPoint) {
  norvalde::testing::TempFolder root;
  norvalde::testing::FixedClockEnv clock;
  const std::string carpeta = root.MakeFolder("rova") + platform::kPathSeparator;
  const std::string work = root.MakeFolder("QTEMP");
  const std::string outside = root.MakeFolder("outside");
  WriteRovaFiles(carpeta);
  WriteSoluc(clock, work);
  // Broken links where the Export deletes and creates tables and the Import saves its output.
  for (const char* name : {"ASIGT.DBF", "ASIGT.MDX", "PROFT.DBF"}) {
    ASSERT_EQ(::symlink((outside + "/" + name).c_str(), (work + "/" + name).c_str()), 0) << name;
  }
  ASSERT_EQ(::symlink((outside + "/out.txt").c_str(), (carpeta + "ROVA_HORARIO.TXT").c_str()), 0);

  RecordingMessageSink sink;
  exporting::RunExport({clock, carpeta, work, sink});
  tables::ImportTables tables(clock);
  importing::RunImport({clock, carpeta, work, sink}, tables);
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Proceso finalizado", "Proceso Terminado"}));

  EXPECT_TRUE(IsRegularFile(work + "/ASIGT.DBF"));
  EXPECT_TRUE(IsRegularFile(work + "/PROFT.DBF"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(work + "/ASIGT.MDX")));  // deleted like an index
  EXPECT_TRUE(IsRegularFile(carpeta + "ROVA_HORARIO.TXT"));
  EXPECT_TRUE(fs::is_empty(outside));
}

}  // namespace
}  // namespace norvalde::faults
