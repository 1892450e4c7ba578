#include "export/work_table_recreation.h"

#include <memory>

#include "platform/paths.h"
#include "platform/system_errors.h"

namespace norvalde::exporting {
namespace {

// Whether another program holds the file. Windows refuses to delete such a file; other systems
// delete it while the holder keeps writing a table nobody sees any more, so we ask first.
bool HeldByAnotherProgram(platform::Env& env, const std::string& path) {
  std::unique_ptr<platform::File> file;
  const int error = env.Open(path, platform::OpenMode::kReadWriteExclusive, file);
  if (error == 0) file->Close();
  return error != 0 && platform::RuntimeErrorCode(error) ==
                            platform::runtime_code::kSharingViolation;
}

// Deletes the file when it exists. A file another program holds stays, unreported: the creation
// that follows fails on it with the engine's error. A symbolic link under the name, even one
// pointing nowhere, is deleted itself (never what it points to).
void DeleteIfPresent(platform::Env& env, const std::string& path) {
  const std::string found = env.FindFileIgnoringCase(path);
  if (env.FolderExists(found) || HeldByAnotherProgram(env, found)) return;
  env.DeleteFile(found);  // nothing there is no failure worth reporting either
}

}  // namespace

void RecreateWorkTable(platform::Env& env, const std::string& workFolder,
                       const tables::WorkTableDefinition& definition,
                       tables::Table& table) {
  const std::string base = platform::JoinPath(workFolder, definition.name);
  DeleteIfPresent(env, base + ".DBF");
  DeleteIfPresent(env, base + ".MDX");
  tables::Table::Create(env, workFolder, definition.name + ".DBF", definition.fields);
  table.Open(workFolder, definition.name + ".DBF", tables::Sharing::kShared,
             tables::Access::kReadWrite);
}

}  // namespace norvalde::exporting
