// The real system, counting the bytes each file path had read from it and written to it, so
// the benchmark reports what a stage moved, and noting what the floor needs to move the least
// that the stage could: which files existed before (and their size), which the stage created,
// synced and renamed. It also times what the Export spends keeping the tables it replaces.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/env.h"

namespace norvalde::bench {

struct FileTraffic {
  uint64_t bytesRead = 0;
  uint64_t bytesWritten = 0;
  bool synced = false;
  bool opened = false;
  bool created = false;            // an opening created or truncated it
  uint64_t sizeAtFirstOpen = 0;    // what it held before the stage touched it
  uint64_t bytesReadOfOriginal = 0;  // read before anything created or truncated it
  std::string renamedTo;           // the name its last rename gave it, if any
};

class CountingEnv : public platform::EnvWrapper {
 public:
  explicit CountingEnv(platform::Env& target) : EnvWrapper(target) {}

  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override;
  int RenameFile(const std::string& from, const std::string& to) override;
  int MakeFolder(const std::string& path) override;
  int RemoveFolder(const std::string& path) override;
  int MoveWithoutReplacing(const std::string& from, const std::string& to) override;
  int ListFolder(const std::string& path, std::vector<platform::FolderEntry>& entries) override;

  // The files moved, and the seconds spent in moving them and in making, listing and removing
  // folders.
  int moves() const { return moves_; }
  double keepingSeconds() const { return keepingSeconds_; }

  // Per path as opened; shared with the open files, which may outlive a call.
  const std::map<std::string, FileTraffic>& traffic() const { return *traffic_; }
  uint64_t TotalRead() const;
  uint64_t TotalWritten() const;

 private:
  std::shared_ptr<std::map<std::string, FileTraffic>> traffic_ =
      std::make_shared<std::map<std::string, FileTraffic>>();
  int moves_ = 0;
  double keepingSeconds_ = 0;
};

}  // namespace norvalde::bench
