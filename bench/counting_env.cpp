#include "bench/counting_env.h"

#include <chrono>

namespace norvalde::bench {
namespace {

// Runs `call` and adds the wall time it took to `seconds`.
template <typename Call>
int Timed(double& seconds, Call&& call) {
  const auto start = std::chrono::steady_clock::now();
  const int error = call();
  seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return error;
}

class CountingFile : public platform::FileWrapper {
 public:
  CountingFile(std::unique_ptr<platform::File> file,
               std::shared_ptr<std::map<std::string, FileTraffic>> traffic, std::string path)
      : FileWrapper(std::move(file)), traffic_(std::move(traffic)), path_(std::move(path)) {}

  int Read(char* buffer, size_t want, size_t& got) override {
    int error = FileWrapper::Read(buffer, want, got);
    FileTraffic& traffic = (*traffic_)[path_];
    traffic.bytesRead += got;
    if (!traffic.created) traffic.bytesReadOfOriginal += got;
    return error;
  }
  int Write(const char* data, size_t size) override {
    int error = FileWrapper::Write(data, size);
    if (error == 0) (*traffic_)[path_].bytesWritten += size;
    return error;
  }
  int Sync() override {
    (*traffic_)[path_].synced = true;
    return FileWrapper::Sync();
  }

 private:
  std::shared_ptr<std::map<std::string, FileTraffic>> traffic_;
  std::string path_;
};

}  // namespace

int CountingEnv::Open(const std::string& path, platform::OpenMode mode,
                      std::unique_ptr<platform::File>& file) {
  std::unique_ptr<platform::File> opened;
  int error = target().Open(path, mode, opened);
  if (error != 0) return error;
  FileTraffic& traffic = (*traffic_)[path];
  if (!traffic.opened && mode != platform::OpenMode::kCreateExclusive &&
      opened->Size(traffic.sizeAtFirstOpen) != 0) {
    traffic.sizeAtFirstOpen = 0;
  }
  traffic.opened = true;
  if (mode == platform::OpenMode::kCreateExclusive) traffic.created = true;
  file = std::make_unique<CountingFile>(std::move(opened), traffic_, path);
  return 0;
}

int CountingEnv::RenameFile(const std::string& from, const std::string& to) {
  int error = target().RenameFile(from, to);
  if (error == 0) (*traffic_)[from].renamedTo = to;
  return error;
}

int CountingEnv::MakeFolder(const std::string& path) {
  return Timed(keepingSeconds_, [&] { return target().MakeFolder(path); });
}

int CountingEnv::RemoveFolder(const std::string& path) {
  return Timed(keepingSeconds_, [&] { return target().RemoveFolder(path); });
}

int CountingEnv::MoveWithoutReplacing(const std::string& from, const std::string& to) {
  const int error =
      Timed(keepingSeconds_, [&] { return target().MoveWithoutReplacing(from, to); });
  if (error == 0) ++moves_;
  return error;
}

int CountingEnv::ListFolder(const std::string& path,
                            std::vector<platform::FolderEntry>& entries) {
  return Timed(keepingSeconds_, [&] { return target().ListFolder(path, entries); });
}

uint64_t CountingEnv::TotalRead() const {
  uint64_t total = 0;
  for (const auto& [path, traffic] : *traffic_) total += traffic.bytesRead;
  return total;
}

uint64_t CountingEnv::TotalWritten() const {
  uint64_t total = 0;
  for (const auto& [path, traffic] : *traffic_) total += traffic.bytesWritten;
  return total;
}

}  // namespace norvalde::bench
