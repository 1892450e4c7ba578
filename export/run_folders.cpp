#include "export/run_folders.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/paths.h"
#include "tables/work_tables.h"

namespace norvalde::exporting {
namespace {

constexpr size_t kRunFoldersKept = 10;
constexpr std::string_view kStampShape = "0000-00-00 00.00.00";  // 0: any digit

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where a run folder's name stands among the others: its start, then its suffix (1 when it
// has none). Nothing when the name is no run folder's. " (10)" sorts after " (9)" this way,
// which the names compared as text would not.
std::optional<std::pair<std::string, long>> RunOrder(std::string_view name) {
  if (name.size() < kStampShape.size()) return std::nullopt;
  for (size_t i = 0; i < kStampShape.size(); ++i) {
    if (kStampShape[i] == '0' ? !IsDigit(name[i]) : name[i] != kStampShape[i]) return std::nullopt;
  }
  std::string_view suffix = name.substr(kStampShape.size());
  long n = 1;
  if (!suffix.empty()) {
    if (!suffix.starts_with(" (") || !suffix.ends_with(")")) return std::nullopt;
    const std::string_view digits = suffix.substr(2, suffix.size() - 3);
    if (digits.empty() || digits.size() > 9 || digits[0] == '0' ||
        !std::all_of(digits.begin(), digits.end(), IsDigit)) {
      return std::nullopt;
    }
    n = std::stol(std::string(digits));
    if (n < 2) return std::nullopt;
  }
  return std::make_pair(std::string(name.substr(0, kStampShape.size())), n);
}

// Whether an Export moves files of this name aside: one of the six work tables' .DBF or .MDX.
bool IsWorkTableFile(const std::string& name) {
  for (const tables::WorkTableDefinition* table :
       {&tables::AsignomtTable(), &tables::ProftTable(), &tables::AulatTable(),
        &tables::GrupostTable(), &tables::AsigtTable(), &tables::DiashorastTable()}) {
    if (platform::EqualIgnoringAsciiCase(name, table->name + ".DBF") ||
        platform::EqualIgnoringAsciiCase(name, table->name + ".MDX")) {
      return true;
    }
  }
  return false;
}

void RemoveRunFolder(platform::Env& env, const std::string& folder) {
  std::vector<platform::FolderEntry> entries;
  if (env.ListFolder(folder, entries) != 0) return;
  for (const platform::FolderEntry& entry : entries) {
    // A link is deleted itself, never what it points to.
    const bool file = entry.kind == platform::EntryKind::kFile ||
                      entry.kind == platform::EntryKind::kLink;
    if (file && IsWorkTableFile(entry.name)) env.DeleteFile(platform::JoinPath(folder, entry.name));
  }
  env.RemoveFolder(folder);  // fails, as it should, while anything else is left inside
}

}  // namespace

std::string RunFolderName(const platform::LocalTime& start, int n) {
  char name[64];
  std::snprintf(name, sizeof name, "%04d-%02d-%02d %02d.%02d.%02d", start.year, start.month,
                start.day, start.hour, start.minute, start.second);
  return n >= 2 ? std::string(name) + " (" + std::to_string(n) + ")" : std::string(name);
}

void RemoveOldRunFolders(platform::Env& env, const std::string& keepingFolder,
                         const std::string& current) {
  std::vector<platform::FolderEntry> entries;
  if (env.ListFolder(keepingFolder, entries) != 0) return;
  std::vector<std::pair<std::pair<std::string, long>, std::string>> runs;
  for (const platform::FolderEntry& entry : entries) {
    if (entry.kind != platform::EntryKind::kFolder) continue;
    if (auto order = RunOrder(entry.name)) runs.push_back({std::move(*order), entry.name});
  }
  if (runs.size() <= kRunFoldersKept) return;
  std::sort(runs.begin(), runs.end(), [](const auto& a, const auto& b) { return a > b; });
  for (size_t i = kRunFoldersKept; i < runs.size(); ++i) {
    const std::string folder = platform::JoinPath(keepingFolder, runs[i].second);
    if (folder != current) RemoveRunFolder(env, folder);
  }
}

}  // namespace norvalde::exporting
