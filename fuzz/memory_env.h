// An Env whose files live in memory, so a fuzz input reaches the readers without touching the
// disk. Sharing and locks are not modelled: one harness, one thread, one reader at a time.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "fuzz/folder_paths.h"
#include "platform/env.h"

namespace norvalde::fuzzing {

class MemoryEnv : public platform::Env {
 public:
  // Each file's bytes are shared with the files opened on it, so a file renamed or deleted
  // while open stays valid to its holder, as on a POSIX system.
  std::map<std::string, std::shared_ptr<std::string>> files;
  // The folders: the harnesses' own two and those made through MakeFolder.
  std::set<std::string> folders = {kWorkFolder, kRovaFolder.substr(0, kRovaFolder.size() - 1)};

  void Put(const std::string& path, std::string bytes) {
    files[path] = std::make_shared<std::string>(std::move(bytes));
  }

  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override;
  bool FileExists(const std::string& path) override { return files.count(path) != 0; }
  bool FolderExists(const std::string& path) override;
  int DeleteFile(const std::string& path) override;
  int RenameFile(const std::string& from, const std::string& to) override;
  int SyncFolder(const std::string&) override { return 0; }
  int MakeFolder(const std::string& path) override;
  int RemoveFolder(const std::string& path) override;
  int MoveWithoutReplacing(const std::string& from, const std::string& to) override;
  int ListFolder(const std::string& path, std::vector<platform::FolderEntry>& entries) override;
  std::string FindFileIgnoringCase(const std::string& path) override;
  platform::LocalTime Now() override { return {2024, 3, 15, 9, 5, 0}; }
};

}  // namespace norvalde::fuzzing
