// The operating system behind Env on POSIX systems: open(2) with flock(2) for the sharing
// modes, a directory scan for names that differ only in case and localtime_r for the clock.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <memory>
#include <string>

#include "platform/env.h"

namespace norvalde::platform {

namespace {

class PosixFile : public File {
 public:
  explicit PosixFile(int fd) : fd_(fd) {}
  ~PosixFile() override {
    if (fd_ >= 0) ::close(fd_);
  }

  int Read(char* buffer, size_t want, size_t& got) override {
    got = 0;
    for (;;) {
      ssize_t n = ::read(fd_, buffer, want);
      if (n >= 0) {
        got = static_cast<size_t>(n);
        return 0;
      }
      if (errno != EINTR) return errno;
    }
  }

  int Write(const char* data, size_t size) override {
    while (size > 0) {
      ssize_t n = ::write(fd_, data, size);
      if (n < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      if (n == 0) return ENOSPC;  // the device took nothing: treat it as full
      data += n;
      size -= static_cast<size_t>(n);
    }
    return 0;
  }

  int Seek(uint64_t offset) override {
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0 ? errno : 0;
  }

  int Size(uint64_t& size) override {
    struct stat info;
    if (::fstat(fd_, &info) != 0) return errno;
    size = static_cast<uint64_t>(info.st_size);
    return 0;
  }

  int Truncate(uint64_t size) override {
    return ::ftruncate(fd_, static_cast<off_t>(size)) != 0 ? errno : 0;
  }

  int Sync() override { return ::fsync(fd_) != 0 ? errno : 0; }

  int Close() override {
    int fd = fd_;
    fd_ = -1;
    // The descriptor is gone whatever close reports, so it is never closed twice.
    return fd >= 0 && ::close(fd) != 0 ? errno : 0;
  }

 private:
  int fd_;
};

struct ModeFlags {
  int open;
  int lock;
};

ModeFlags FlagsFor(OpenMode mode) {
  switch (mode) {
    case OpenMode::kReadSharedDenyWrite:
    case OpenMode::kReadShared: return {O_RDONLY, LOCK_SH};
    case OpenMode::kReadWriteShared: return {O_RDWR, LOCK_SH};
    case OpenMode::kReadExclusive: return {O_RDONLY, LOCK_EX};
    case OpenMode::kReadWriteExclusive: return {O_RDWR, LOCK_EX};
    case OpenMode::kCreateExclusive: return {O_WRONLY | O_CREAT, LOCK_EX};
  }
  return {O_RDONLY, LOCK_SH};
}

bool EqualIgnoringAsciiCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i] != '\0'; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return i == a.size() && b[i] == '\0';
}

std::string CollapseSeparators(const std::string& path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  return out;
}

class PosixEnv : public Env {
 public:
  int Open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) override {
    file.reset();
    const ModeFlags flags = FlagsFor(mode);
    // O_NONBLOCK so that a pipe under the name cannot make the open wait for a writer.
    int fd = ::open(path.c_str(), flags.open | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return errno;
    auto opened = std::make_unique<PosixFile>(fd);
    struct stat info;
    if (::fstat(fd, &info) != 0) return errno;
    if (S_ISDIR(info.st_mode)) return EISDIR;
    // Only regular files hold data we read or write; a pipe or device is refused.
    if (!S_ISREG(info.st_mode)) return EACCES;
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) return errno;
    // Never wait for another holder: a refused lock means the file is in use.
    if (::flock(fd, flags.lock | LOCK_NB) != 0) return errno;
    // Cut the file only once it is ours, so a file another process holds is left as it is.
    if (mode == OpenMode::kCreateExclusive && ::ftruncate(fd, 0) != 0) return errno;
    file = std::move(opened);
    return 0;
  }

  bool FileExists(const std::string& path) override {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
  }

  bool FolderExists(const std::string& path) override {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  }

  int DeleteFile(const std::string& path) override {
    return ::unlink(path.c_str()) != 0 ? errno : 0;
  }

  int RenameFile(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) != 0 ? errno : 0;
  }

  std::string FindFileIgnoringCase(const std::string& path) override {
    const std::string wanted = CollapseSeparators(path);
    struct stat info;
    if (::lstat(wanted.c_str(), &info) == 0) return wanted;

    const size_t slash = wanted.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : wanted.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? wanted : wanted.substr(slash + 1);
    if (name.empty()) return wanted;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return wanted;
    // Of several matches the bytewise smallest name wins, so the choice never depends on
    // the order the directory happens to list them in.
    std::string best;
    while (const dirent* entry = ::readdir(dir)) {
      if (EqualIgnoringAsciiCase(name, entry->d_name) && (best.empty() || best > entry->d_name))
        best = entry->d_name;
    }
    ::closedir(dir);
    if (best.empty()) return wanted;
    return slash == std::string::npos ? best : folder + best;
  }

  LocalTime Now() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min};
  }
};

}  // namespace

Env& Env::Default() {
  static PosixEnv env;
  return env;
}

}  // namespace norvalde::platform
