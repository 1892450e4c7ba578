#include "export/kept_tables.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "core/error.h"
#include "export/run_folders.h"
#include "platform/paths.h"
#include "platform/system_errors.h"
#include "tables/table_errors.h"

namespace norvalde::exporting {
namespace {

// More runs than this within one second mean something else takes every name.
constexpr int kMostRunsInASecond = 99;

[[noreturn]] void ThrowFolderError(const std::string& folder, const std::string& cause) {
  throw Error("No se puede crear la carpeta \"" + folder + "\": " + cause);
}

// The error that tells the file is held by another program, or 0. Windows refuses to move
// such a file; other systems move it while the holder keeps writing a table nobody sees any
// more, so we ask first.
int HeldByAnotherProgram(platform::Env& env, const std::string& path) {
  std::unique_ptr<platform::File> file;
  const int error = env.Open(path, platform::OpenMode::kReadWriteExclusive, file);
  if (error == 0) file->Close();
  const bool held = error != 0 && platform::RuntimeErrorCode(error) ==
                                      platform::runtime_code::kSharingViolation;
  return held ? error : 0;
}

}  // namespace

KeptTables::KeptTables(platform::Env& env, std::string workFolder)
    : env_(env),
      workFolder_(std::move(workFolder)),
      keepingFolder_(platform::JoinPath(workFolder_, kKeepingFolderName)),
      start_(env.Now()) {}

void KeptTables::Keep(const std::string& table) {
  const std::vector<std::string> files = FilesOf(table);
  for (const std::string& name : files) {
    const std::string path = platform::JoinPath(workFolder_, name);
    if (const int error = HeldByAnotherProgram(env_, path)) {
      tables::ThrowTableError("No se puede crear la tabla", path, tables::FileErrorCause(error));
    }
  }
  for (const std::string& name : files) {
    if (runFolder_.empty()) MakeRunFolder();
    const std::string from = platform::JoinPath(workFolder_, name);
    if (const int error = env_.MoveWithoutReplacing(from, platform::JoinPath(runFolder_, name))) {
      throw Error("No se puede mover el archivo \"" + from + "\" a la carpeta \"" + runFolder_ +
                  "\": " + tables::FileErrorCause(error));
    }
  }
}

// The names of the table's files in the work folder, the .DBF ones first. On a file system
// that tells case apart there may be several spellings of one name; all of them go, so that
// none is left for the new table to be written over.
std::vector<std::string> KeptTables::FilesOf(const std::string& table) {
  std::vector<platform::FolderEntry> entries;
  if (const int error = env_.ListFolder(workFolder_, entries)) {
    // A missing work folder holds nothing to keep; the creation that follows says it is gone.
    if (!env_.FolderExists(workFolder_)) return {};
    throw Error("No se puede leer la carpeta \"" + workFolder_ + "\": " +
                tables::FileErrorCause(error));
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.name < b.name; });
  std::vector<std::string> files;
  for (const char* extension : {".DBF", ".MDX"}) {
    for (const platform::FolderEntry& entry : entries) {
      // A folder under a table's name, or a link to one, is no table file: it stays.
      if (!platform::EqualIgnoringAsciiCase(entry.name, table + extension) ||
          entry.kind == platform::EntryKind::kFolder ||
          env_.FolderExists(platform::JoinPath(workFolder_, entry.name))) {
        continue;
      }
      files.push_back(entry.name);
    }
  }
  return files;
}

void KeptTables::MakeRunFolder() {
  int error = env_.MakeFolder(keepingFolder_);
  if (platform::NameTaken(error)) {
    // Only a folder serves: a link would carry the tables out of the work folder.
    std::vector<platform::FolderEntry> ignored;
    error = env_.ListFolder(keepingFolder_, ignored);
    if (platform::RuntimeErrorCode(error) == platform::runtime_code::kPathNotFound) {
      ThrowFolderError(keepingFolder_, "ya existe un archivo con ese nombre");
    }
  }
  if (error != 0) ThrowFolderError(keepingFolder_, tables::FileErrorCause(error));
  std::string folder;
  for (int n = 1; n <= kMostRunsInASecond; ++n) {
    folder = platform::JoinPath(keepingFolder_, RunFolderName(start_, n));
    error = env_.MakeFolder(folder);
    if (error == 0) {
      runFolder_ = folder;
      return;
    }
    if (!platform::NameTaken(error)) break;
  }
  ThrowFolderError(folder, tables::FileErrorCause(error));
}

void KeptTables::Finish() {
  if (!runFolder_.empty()) {
    SyncFolderNames(env_, runFolder_);
    SyncFolderNames(env_, keepingFolder_);
  }
  RemoveOldRunFolders(env_, keepingFolder_, runFolder_);
}

void SyncFolderNames(platform::Env& env, const std::string& folder) {
  if (const int error = env.SyncFolder(folder)) {
    throw Error("No se puede escribir en la carpeta \"" + folder +
                "\": " + tables::FileErrorCause(error));
  }
}

}  // namespace norvalde::exporting
