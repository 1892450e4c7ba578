#include "bench/stages.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/counting_env.h"
#include "bench/line_file.h"
#include "bench/rova_generator.h"
#include "core/message_sink.h"
#include "export/export.h"
#include "import/import.h"
#include "import/import_tables.h"
#include "platform/env.h"
#include "tables/table.h"
#include "tables/work_tables.h"

namespace norvalde::bench {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The benchmark's folders hold every input, so any message is a fault of the set-up.
class FailOnUnexpectedMessage : public MessageSink {
 public:
  explicit FailOnUnexpectedMessage(std::string closing) : closing_(std::move(closing)) {}
  void ShowMessage(const std::string& text) override {
    if (text != closing_) throw std::runtime_error("unexpected message: " + text);
  }

 private:
  std::string closing_;
};

// What the stage moved through the Env ("read", "written"), and what the honest floor moves:
// every file that existed before the stage and was read, once, for the size it had
// ("input:<path>"); every file the stage left written, once: for as many bytes as it holds
// when the stage created it, else for the bytes the stage wrote into it ("output:<path>"), and
// whether the stage synced it ("sync:<path>") and brought it under its name by a rename
// ("rename:<path>").
void ReportTraffic(const CountingEnv& env, Values& values) {
  values["read"] = static_cast<double>(env.TotalRead());
  values["written"] = static_cast<double>(env.TotalWritten());
  const std::map<std::string, FileTraffic>& traffic = env.traffic();
  for (const auto& [path, file] : traffic) {
    if (file.bytesReadOfOriginal > 0)
      values["input:" + path] = static_cast<double>(file.sizeAtFirstOpen);
    if (!file.created && file.bytesWritten == 0) continue;
    // Follow the renames to the name the file ends under; a bound guards against a cycle.
    std::string final = path;
    bool synced = file.synced, renamed = false;
    for (int hops = 0; hops < 8; ++hops) {
      auto at = traffic.find(final);
      if (at == traffic.end() || at->second.renamedTo.empty()) break;
      final = at->second.renamedTo;
      renamed = true;
      auto to = traffic.find(final);
      if (to != traffic.end()) synced = synced || to->second.synced;
    }
    std::error_code error;
    const uint64_t size = std::filesystem::file_size(final, error);
    if (error) continue;  // deleted before the end: nothing of it is left to write
    const uint64_t bytes = file.created ? size : std::min<uint64_t>(size, file.bytesWritten);
    double& output = values["output:" + final];
    output = std::max(output, static_cast<double>(bytes));
    if (synced) values["sync:" + final] = 1;
    if (renamed) values["rename:" + final] = 1;
  }
}

// The ASIGT-shaped row number i: the ten fields in table order, HORAS as text.
std::vector<std::string> AsigtRow(int64_t i) {
  static const char* const kLevels[] = {"ESO", "BAC", "FPB", "PRI", "CFM"};
  const bool half = i % 4 == 1;
  return {Code4(i % 5000), "", Code4(i % 20000), "",
          i % 2 ? "M" : "T", kLevels[i % 5], std::to_string(i % 4 + 1),
          std::string(1, static_cast<char>('A' + i % 6)), half ? "2.5" : "3",
          half ? "11\xBD" : "111"};
}

}  // namespace

void ExportStage(const BenchFolders& folders, Values& values) {
  CountingEnv env(platform::Env::Default());
  FailOnUnexpectedMessage messages("Proceso finalizado");
  const ActionContext context{env, folders.rova + "/", folders.work, messages};
  const Clock::time_point start = Clock::now();
  Clock::time_point step = start;
  exporting::RunExport(context, [&](const char* name) {
    values[std::string("seconds.") + name] = SecondsSince(step);
    step = Clock::now();
  });
  values["seconds"] = SecondsSince(start);
  values["moves"] = env.moves();
  values["seconds.keeping"] = env.keepingSeconds();
  ReportTraffic(env, values);
}

void ImportStage(const BenchFolders& folders, Values& values) {
  CountingEnv env(platform::Env::Default());
  FailOnUnexpectedMessage messages("Proceso Terminado");
  importing::ImportContext context{env, folders.rova + "/", folders.work, messages};
  importing::ImportTables importTables(env);
  const Clock::time_point start = Clock::now();
  importing::RunImport(context, importTables);
  values["seconds"] = SecondsSince(start);
  ReportTraffic(env, values);
}

void FloorStage(const Values& stageTraffic, const BenchFolders& folders, Values& values) {
  std::vector<char> buffer(1 << 16, 'x');
  const Clock::time_point start = Clock::now();
  uint64_t read = 0, written = 0;
  int outputs = 0;
  for (const auto& [key, amount] : stageTraffic) {
    if (key.rfind("input:", 0) == 0) {
      std::FILE* file = std::fopen(key.substr(6).c_str(), "rb");
      if (file == nullptr) throw std::runtime_error("cannot open " + key.substr(6));
      for (uint64_t left = static_cast<uint64_t>(amount); left > 0;) {
        size_t got = std::fread(buffer.data(), 1, std::min<uint64_t>(buffer.size(), left), file);
        if (got == 0) break;  // shorter than it was: the floor reads no more than is there
        left -= got;
        read += got;
      }
      std::fclose(file);
    } else if (key.rfind("output:", 0) == 0) {
      const std::string path = key.substr(7);
      const bool renamed = stageTraffic.count("rename:" + path) > 0;
      const std::string target = folders.scratch + "/floor-" + std::to_string(outputs++) + ".out";
      const std::string writtenAs = renamed ? target + ".tmp" : target;
      LineFile out(writtenAs);
      for (uint64_t left = static_cast<uint64_t>(amount); left > 0;) {
        size_t chunk = std::min<uint64_t>(buffer.size(), left);
        out.WriteBytes(std::string_view(buffer.data(), chunk));
        left -= chunk;
        written += chunk;
      }
      if (stageTraffic.count("sync:" + path)) out.Sync();
      out.Close();
      if (renamed) {
        // A new name is durable only once its folder is synced: the floor pays that too.
        if (std::rename(writtenAs.c_str(), target.c_str()) != 0)
          throw std::runtime_error("cannot rename " + writtenAs);
        SyncFolder(folders.scratch);
      }
    }
  }
  values["seconds"] = SecondsSince(start);
  values["read"] = static_cast<double>(read);
  values["written"] = static_cast<double>(written);
  for (int i = 0; i < outputs; ++i)
    std::remove((folders.scratch + "/floor-" + std::to_string(i) + ".out").c_str());
}

void AsigtWriteStage(const BenchFolders& folders, int64_t rows, Values& values) {
  CountingEnv env(platform::Env::Default());
  const tables::WorkTableDefinition& definition = tables::AsigtTable();
  const Clock::time_point start = Clock::now();
  tables::Table::Create(env, folders.scratch, "ASIGT.DBF", definition.fields);
  tables::Table table(env);
  table.Open(folders.scratch, "ASIGT.DBF", tables::Sharing::kShared, tables::Access::kReadWrite);
  // Each field looked up once, as the Export does.
  std::vector<tables::FieldHandle> handles;
  for (const tables::FieldDefinition& column : definition.fields) {
    handles.push_back(table.FindField(column.name));
  }
  for (int64_t i = 0; i < rows; ++i) {
    const std::vector<std::string> row = AsigtRow(i);
    table.Append();
    for (size_t field = 0; field < row.size(); ++field) {
      if (row[field].empty()) continue;  // empty fields are never set, as in the Export
      if (definition.fields[field].type == tables::FieldType::kNumber)
        table.SetNumber(handles[field], std::stod(row[field]));
      else
        table.SetText(handles[field], row[field]);
    }
    table.Post();
  }
  table.Close();
  values["seconds"] = SecondsSince(start);
  values["read"] = static_cast<double>(env.TotalRead());
  values["written"] = static_cast<double>(env.TotalWritten());
}

void WriteAsigtCsv(const std::string& csvPath, int64_t rows) {
  // GDAL reads CSV as UTF-8: the one non-ASCII byte, 0xBD ("½"), is written as its UTF-8 pair.
  LineFile csv(csvPath);
  csv.Write("CASIG,CPROF,CGRUP,CAULA,TURNO,NIVEL,CURSO,GRUPO,HORAS,SESIONES");
  std::string line;
  for (int64_t i = 0; i < rows; ++i) {
    line.clear();
    for (const std::string& value : AsigtRow(i)) {
      line += value;
      line += ',';
    }
    line.pop_back();
    for (size_t at = line.find('\xBD'); at != std::string::npos; at = line.find('\xBD', at + 2))
      line.replace(at, 1, "\xC2\xBD");
    csv.Write(line);
  }
  csv.Close();
  LineFile types(csvPath.substr(0, csvPath.size() - 4) + ".csvt");
  types.Write(
      "String(4),String(4),String(4),String(4),String(1),String(5),String(3),String(2),"
      "Real(20.6),String(20)");
  types.Close();
}

}  // namespace norvalde::bench
