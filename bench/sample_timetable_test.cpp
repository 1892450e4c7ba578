// The demo's timetable: samples/SOLUC.DBF is what the generator writes, and the samples go
// through the Export and then the Import with it, every lesson finding its slot, with no
// teacher, group or room in two places at once.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <tuple>

#include "bench/sample_timetable.h"
#include "export/export.h"
#include "import/import.h"
#include "platform/paths.h"
#include "tables/table.h"
#include "tables/work_tables.h"
#include "tests/support/recording_message_sink.h"
#include "tests/support/temp_folder.h"

namespace norvalde::bench {
namespace {

namespace fs = std::filesystem;

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SampleTimetable, CommittedTableIsTheGeneratorsOutput) {
  testing::TempFolder root;
  GenerateSampleSoluc(root.path());
  std::string written = FileBytes(root.Path("SOLUC.DBF"));
  std::string committed = FileBytes(NORVALDE_SAMPLES_DIR "/SOLUC.DBF");
  ASSERT_GT(written.size(), 32u);
  ASSERT_EQ(committed.size(), written.size());
  // Bytes 1 to 3 are the date the table was written.
  committed.replace(1, 3, written.substr(1, 3));
  EXPECT_TRUE(committed == written) << "regenerate samples/SOLUC.DBF with norvalde-sample-soluc";
}

TEST(SampleTimetable, SamplesGoThroughExportAndImportWithoutClashes) {
  testing::TempFolder root;
  const std::string rova = root.MakeFolder("rova"), work = root.MakeFolder("QTEMP");
  for (const auto& entry : fs::directory_iterator(NORVALDE_SAMPLES_DIR)) {
    if (entry.path().extension() == ".txt") fs::copy_file(entry.path(), fs::path(rova) / entry.path().filename());
  }
  GenerateSampleSoluc(work);
  platform::Env& env = platform::Env::Default();
  testing::RecordingMessageSink sink;
  const std::string carpeta = rova + platform::kPathSeparator;
  exporting::RunExport({env, carpeta, work, sink});
  tables::ImportTables importTables(env);
  importing::RunImport({env, carpeta, work, sink}, importTables);
  ASSERT_EQ(sink.messages, (std::vector<std::string>{"Proceso finalizado", "Proceso Terminado"}));

  // Lesson records: the slot code in columns 2-5, the teacher in 7-10, the group in 11-14 and
  // the room in 23-26.
  std::set<std::tuple<std::string, std::string>> teachers, groups, rooms;
  std::set<std::string> slots;
  int lessons = 0;
  std::ifstream in(carpeta + "ROVA_HORARIO.TXT", std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] != '1') continue;
    ++lessons;
    ASSERT_EQ(line.size(), 27u) << line;  // 26 columns and the CR
    const std::string slot = line.substr(1, 4);
    EXPECT_NE(slot, "    ") << line;
    slots.insert(slot);
    EXPECT_TRUE(teachers.emplace(slot, line.substr(6, 4)).second) << line;
    EXPECT_TRUE(groups.emplace(slot, line.substr(10, 4)).second) << line;
    EXPECT_TRUE(rooms.emplace(slot, line.substr(22, 4)).second) << line;
  }
  // Three groups of 24 sessions a week, over the 30 slots of rova_sesiones.txt.
  EXPECT_EQ(lessons, 72);
  EXPECT_EQ(slots.size(), 30u);
}

}  // namespace
}  // namespace norvalde::bench
