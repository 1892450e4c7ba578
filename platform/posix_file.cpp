#include "platform/posix_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <utility>

namespace norvalde::platform {

namespace {

class PosixFile : public File {
 public:
  // `unnamedPath`: the name an unnamed file (O_TMPFILE) takes when closed.
  explicit PosixFile(int fd, std::string unnamedPath = {})
      : fd_(fd), unnamedPath_(std::move(unnamedPath)) {}
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
    int error = 0;
    if (fd >= 0 && !unnamedPath_.empty()) {
      // linkat never replaces a name, so whatever took it meanwhile stays as it was.
      const std::string self = "/proc/self/fd/" + std::to_string(fd);
      if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, unnamedPath_.c_str(), AT_SYMLINK_FOLLOW) != 0)
        error = errno;
      unnamedPath_.clear();
    }
    // The descriptor is gone whatever close reports, so it is never closed twice.
    if (fd >= 0 && ::close(fd) != 0 && error == 0) error = errno;
    return error;
  }

 private:
  int fd_;
  std::string unnamedPath_;
};

}  // namespace

std::unique_ptr<File> MakePosixFile(int fd, std::string unnamedPath) {
  return std::make_unique<PosixFile>(fd, std::move(unnamedPath));
}

}  // namespace norvalde::platform
