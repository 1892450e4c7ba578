// What a run says is done is on the device first: every table the Export wrote and the
// Import's output are synced, and the folders whose names changed (the old tables' run folder
// and its keeping folder among them) are synced after the change, all before the closing
// message.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "export/export.h"
#include "import/import.h"
#include "import/import_tables.h"
#include "platform/paths.h"
#include "small_rova_folder.h"
#include "tables/table.h"
#include "tables/work_tables.h"
#include "tests/support/fixed_clock_env.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_folders.h"
#include "tests/support/write_table.h"

namespace norvalde::faults {
namespace {

// Records, in one list, each file synced (by the name it was opened under), each folder
// synced, each rename and each message shown.
class SyncLog : public platform::EnvWrapper, public MessageSink {
 public:
  explicit SyncLog(platform::Env& target) : EnvWrapper(target) {}
  std::vector<std::string> events;

  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override {
    std::unique_ptr<platform::File> opened;
    const int error = EnvWrapper::Open(path, mode, opened);
    if (error == 0) file = std::make_unique<Logged>(std::move(opened), path, events);
    return error;
  }
  int RenameFile(const std::string& from, const std::string& to) override {
    events.push_back("rename " + Name(to));
    return EnvWrapper::RenameFile(from, to);
  }
  int SyncFolder(const std::string& path) override {
    events.push_back("sync folder " + Name(path));
    return EnvWrapper::SyncFolder(path);
  }
  void ShowMessage(const std::string& text) override { events.push_back(text); }

  size_t Position(const std::string& event) const {
    return static_cast<size_t>(std::find(events.begin(), events.end(), event) - events.begin());
  }

 private:
  // The last component of a path, without a final separator.
  static std::string Name(std::string path) {
    while (!path.empty() && (path.back() == '/' || path.back() == '\\')) path.pop_back();
    return path.substr(path.find_last_of("/\\") + 1);
  }
  class Logged : public platform::FileWrapper {
   public:
    Logged(std::unique_ptr<platform::File> file, const std::string& path,
           std::vector<std::string>& events)
        : FileWrapper(std::move(file)), name_(Name(path)), events_(events) {}
    int Sync() override {
      events_.push_back("sync " + name_);
      return FileWrapper::Sync();
    }

   private:
    std::string name_;
    std::vector<std::string>& events_;
  };
};

TEST(Durability, EverythingWrittenIsSyncedBeforeTheClosingMessage) {
  norvalde::testing::TestFolders folders;
  norvalde::testing::FixedClockEnv clock;
  const std::string carpeta = folders.Carpeta();
  const std::string work = folders.workFolder();
  PrepareExported(folders, clock);  // tables for the next Export to keep
  SyncLog exportLog(clock);
  exporting::RunExport({exportLog, carpeta, work, exportLog});
  const size_t finished = exportLog.Position("Proceso finalizado");
  ASSERT_LT(finished, exportLog.events.size());
  for (const char* table : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"}) {
    // Once, when the new table is closed with its rows.
    const std::string sync = std::string("sync ") + table + ".DBF";
    EXPECT_EQ(std::count(exportLog.events.begin(), exportLog.events.begin() + finished, sync), 1)
        << table;
  }
  for (const char* folder : {"QTEMP", "Copias de Norvalde", "2024-03-15 09.05.00"})
    EXPECT_LT(exportLog.Position(std::string("sync folder ") + folder), finished) << folder;

  SyncLog importLog(clock);
  importing::ImportTables tables(importLog);
  importing::RunImport({importLog, carpeta, work, importLog}, tables);
  const std::vector<std::string>& events = importLog.events;
  const size_t rename = importLog.Position("rename ROVA_HORARIO.TXT");
  ASSERT_LT(rename, events.size());
  // The temporary file's bytes before its rename, the folder after it, the message last. The
  // temporary name is no longer than the target's: "~", hexadecimal digits and ".tmp".
  const std::string& synced = events[rename - 1];
  EXPECT_TRUE(synced.starts_with("sync ~") && synced.ends_with(".tmp") &&
              synced.size() == std::string("sync ROVA_HORARIO.TXT").size())
      << synced;
  EXPECT_EQ(events[rename + 1], "sync folder rova");
  EXPECT_EQ(events.back(), "Proceso Terminado");
  // Tables only read are not synced: nothing of theirs changed.
  EXPECT_EQ(std::count_if(events.begin(), events.end(),
                          [](const std::string& e) { return e.find(".DBF") != std::string::npos; }),
            0);
}

TEST(Durability, ANewTableLeftEmptyIsSyncedOnceAndATableOnlyReadNever) {
  norvalde::testing::TempFolder root;
  SyncLog log(platform::Env::Default());
  // Created, opened for writing and closed.
  norvalde::testing::WriteTable(log, root.path(), "EMPTY.DBF",
                                {{"ABREV", tables::FieldType::kText, 4}}, {});
  EXPECT_EQ(log.events, std::vector<std::string>{"sync EMPTY.DBF"});
  tables::Table table(log);
  table.Open(root.path(), "EMPTY", tables::Sharing::kShared, tables::Access::kReadOnly);
  table.Close();
  EXPECT_EQ(log.events.size(), 1u);
}

}  // namespace
}  // namespace norvalde::faults
