// Symbolic links named like the files a run replaces: the run moves the link aside and writes
// a regular file in its place, and nothing is ever created, written, moved or deleted where a
// link points, the folders that keep replaced tables included.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "core/error.h"
#include "export/export.h"
#include "import/import.h"
#include "import/import_tables.h"
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

// A regular file itself, not a link to one.
bool IsRegularFile(const std::string& path) {
  return fs::is_regular_file(fs::symlink_status(path));
}

TEST(WorkFolderLinks, RunsReplaceLinksAndWriteNothingWhereTheyPoint) {
  norvalde::testing::TestFolders folders;
  norvalde::testing::FixedClockEnv clock;
  const std::string carpeta = folders.Carpeta();
  const std::string work = folders.workFolder();
  const std::string outside = folders.MakeFolder("outside");
  WriteInputs(folders, clock);
  // Broken links where the Export deletes and creates tables and the Import saves its output.
  for (const char* name : {"ASIGT.DBF", "ASIGT.MDX", "PROFT.DBF"}) {
    ASSERT_EQ(::symlink((outside + "/" + name).c_str(), (work + "/" + name).c_str()), 0) << name;
  }
  ASSERT_EQ(::symlink((outside + "/out.txt").c_str(), (carpeta + "ROVA_HORARIO.TXT").c_str()), 0);

  RecordingMessageSink sink;
  exporting::RunExport({clock, carpeta, work, sink});
  importing::ImportTables tables(clock);
  importing::RunImport({clock, carpeta, work, sink}, tables);
  EXPECT_EQ(sink.messages, (std::vector<std::string>{"Proceso finalizado", "Proceso Terminado"}));

  EXPECT_TRUE(IsRegularFile(work + "/ASIGT.DBF"));
  EXPECT_TRUE(IsRegularFile(work + "/PROFT.DBF"));
  EXPECT_FALSE(fs::exists(fs::symlink_status(work + "/ASIGT.MDX")));  // kept like an index
  EXPECT_TRUE(IsRegularFile(carpeta + "ROVA_HORARIO.TXT"));
  EXPECT_TRUE(fs::is_empty(outside));
}

// Neither a link as the keeping folder nor links named like old run folders are followed.
TEST(WorkFolderLinks, KeepingFollowsNoLink) {
  norvalde::testing::TestFolders folders;
  norvalde::testing::FixedClockEnv clock;
  const std::string keeping = folders.workFolder() + "/Copias de Norvalde";
  const std::string outside = folders.MakeFolder("outside");
  std::ofstream(outside + "/ASIGT.DBF") << "not ours";
  WriteInputs(folders, clock);
  RecordingMessageSink sink;
  const ActionContext context{clock, folders.Carpeta(), folders.workFolder(), sink};
  exporting::RunExport(context);
  ASSERT_EQ(::symlink(outside.c_str(), keeping.c_str()), 0);
  EXPECT_THROW(exporting::RunExport(context), Error);
  ASSERT_EQ(::unlink(keeping.c_str()) + ::mkdir(keeping.c_str(), 0777), 0);
  for (int day = 10; day <= 20; ++day) {
    const std::string run = keeping + "/2024-03-" + std::to_string(day) + " 08.00.00";
    ASSERT_EQ(::symlink(outside.c_str(), run.c_str()), 0);
  }
  exporting::RunExport(context);
  EXPECT_EQ(std::distance(fs::directory_iterator(keeping), {}), 12);
  EXPECT_EQ(std::distance(fs::directory_iterator(outside), {}), 1);
}

}  // namespace
}  // namespace norvalde::faults
