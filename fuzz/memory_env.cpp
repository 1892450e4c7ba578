#include "fuzz/memory_env.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/paths.h"

namespace norvalde::fuzzing {
namespace {

class MemoryFile : public platform::File {
 public:
  explicit MemoryFile(std::shared_ptr<std::string> bytes) : bytes_(std::move(bytes)) {}

  int Read(char* buffer, size_t want, size_t& got) override {
    got = position_ < bytes_->size() ? std::min(want, bytes_->size() - position_) : 0;
    std::memcpy(buffer, bytes_->data() + position_, got);
    position_ += got;
    return 0;
  }
  int Write(const char* data, size_t size) override {
    if (bytes_->size() < position_) bytes_->resize(position_, '\0');
    bytes_->replace(position_, std::min(size, bytes_->size() - position_), data, size);
    position_ += size;
    return 0;
  }
  int Seek(uint64_t offset) override {
    position_ = offset;
    return 0;
  }
  int Size(uint64_t& size) override {
    size = bytes_->size();
    return 0;
  }
  int Truncate(uint64_t size) override {
    bytes_->resize(size, '\0');
    return 0;
  }
  int Sync() override { return 0; }
  int Close() override { return 0; }

 private:
  std::shared_ptr<std::string> bytes_;
  uint64_t position_ = 0;
};

}  // namespace

int MemoryEnv::Open(const std::string& path, platform::OpenMode mode,
                    std::unique_ptr<platform::File>& file) {
  auto found = files.find(path);
  if (mode == platform::OpenMode::kCreateTemporary && found != files.end()) return EEXIST;
  if (mode == platform::OpenMode::kCreateExclusive ||
      mode == platform::OpenMode::kCreateTemporary) {
    Put(path, {});
    found = files.find(path);
  }
  if (found == files.end()) return ENOENT;
  file = std::make_unique<MemoryFile>(found->second);
  return 0;
}

bool MemoryEnv::FolderExists(const std::string& path) {
  std::string folder = path;
  while (folder.size() > 1 && folder.back() == platform::kPathSeparator) folder.pop_back();
  return folder == "/" || folders.count(folder) != 0;
}

int MemoryEnv::DeleteFile(const std::string& path) { return files.erase(path) ? 0 : ENOENT; }

int MemoryEnv::RenameFile(const std::string& from, const std::string& to) {
  auto found = files.find(from);
  if (found == files.end()) return ENOENT;
  std::shared_ptr<std::string> bytes = found->second;
  files.erase(found);
  files[to] = std::move(bytes);
  return 0;
}

int MemoryEnv::MakeFolder(const std::string& path) {
  if (files.count(path)) return EEXIST;
  return folders.insert(path).second ? 0 : EEXIST;
}

int MemoryEnv::RemoveFolder(const std::string& path) {
  std::vector<platform::FolderEntry> entries;
  ListFolder(path, entries);
  if (!entries.empty()) return ENOTEMPTY;
  return folders.erase(path) ? 0 : ENOENT;
}

int MemoryEnv::MoveWithoutReplacing(const std::string& from, const std::string& to) {
  if (files.count(to) || folders.count(to)) return EEXIST;
  return RenameFile(from, to);
}

int MemoryEnv::ListFolder(const std::string& path, std::vector<platform::FolderEntry>& entries) {
  entries.clear();
  const std::string prefix = platform::JoinPath(path, "");
  auto add = [&](const std::string& name, platform::EntryKind kind) {
    if (name.size() > prefix.size() && name.starts_with(prefix) &&
        name.find(platform::kPathSeparator, prefix.size()) == std::string::npos) {
      entries.push_back({name.substr(prefix.size()), kind});
    }
  };
  for (const auto& [name, bytes] : files) add(name, platform::EntryKind::kFile);
  for (const std::string& name : folders) add(name, platform::EntryKind::kFolder);
  return 0;
}

std::string MemoryEnv::FindFileIgnoringCase(const std::string& path) {
  if (files.count(path)) return path;
  for (const auto& [name, bytes] : files)
    if (platform::EqualIgnoringAsciiCase(name, path)) return name;
  return path;
}

}  // namespace norvalde::fuzzing
