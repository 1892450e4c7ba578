// The operating system behind Env on POSIX systems: open(2) with open file description locks
// for the sharing modes, a directory scan for names that differ only in case, folders made,
// listed and removed without following links, a rename that never replaces, and localtime_r
// for the clock. The open file itself is posix_file.cpp.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>  // flock, where open file description locks are missing
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>  // renameat2 and RENAME_NOREPLACE, where the C library has them
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/env.h"
#include "platform/file_holders.h"
#include "platform/posix_file.h"
#include "platform/paths.h"

namespace norvalde::platform {

namespace {

// How a mode opens the file and which lock it takes over the whole file. An exclusive read
// opens for writing when it can, because only a descriptor open for writing may take a write
// lock; a file nobody may write is held with a read lock instead (see LockWholeFile).
struct ModeFlags {
  int open;
  short lock;
  bool exclusive;  // nobody else may have the file open
};

ModeFlags FlagsFor(OpenMode mode) {
  switch (mode) {
    case OpenMode::kReadSharedDenyWrite:
    case OpenMode::kReadShared: return {O_RDONLY, F_RDLCK, false};
    case OpenMode::kReadWriteShared: return {O_RDWR, F_RDLCK, false};
    case OpenMode::kReadExclusive: return {O_RDWR, F_WRLCK, true};
    case OpenMode::kReadWriteExclusive: return {O_RDWR, F_WRLCK, true};
    case OpenMode::kCreateExclusive: return {O_WRONLY | O_CREAT | O_NOFOLLOW, F_WRLCK, true};
    case OpenMode::kCreateTemporary:
      return {O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, F_WRLCK, true};
  }
  return {O_RDONLY, F_RDLCK, false};
}

// Locks the whole file, never waiting. A program under Wine holds its tables with byte-range
// locks that Wine turns into POSIX record locks, and flock(2) never meets those; an open file
// description lock does, and unlike a classic record lock it belongs to this open file alone,
// so closing another descriptor of the same file never drops it. A refused lock is EWOULDBLOCK.
int LockWholeFile(int fd, short type) {
#ifdef F_OFD_SETLK
  struct flock lock {};
  lock.l_type = type;
  lock.l_whence = SEEK_SET;
  lock.l_start = 0;
  lock.l_len = 0;  // to the end of the file, however far it grows
  if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) return 0;
#else
  if (::flock(fd, (type == F_WRLCK ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return 0;
#endif
  return errno == EACCES || errno == EAGAIN ? EWOULDBLOCK : errno;
}

// Opens without following a pipe's wait for a writer (O_NONBLOCK, cleared again once the
// file is known to be a regular one).
int OpenDescriptor(const std::string& path, int flags) {
  return ::open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
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

EntryKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::kFile;
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISLNK(mode)) return EntryKind::kLink;
  return EntryKind::kOther;
}

// The kind the folder scan gives, or, where the file system leaves it unknown, the kind of
// the name itself (never what a link points to). False when the name has gone meanwhile.
bool KindOfEntry(int folder, const dirent& entry, EntryKind& kind) {
  switch (entry.d_type) {
    case DT_REG: kind = EntryKind::kFile; return true;
    case DT_DIR: kind = EntryKind::kFolder; return true;
    case DT_LNK: kind = EntryKind::kLink; return true;
    case DT_UNKNOWN: break;
    default: kind = EntryKind::kOther; return true;
  }
  struct stat info;
  if (::fstatat(folder, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
  kind = KindOf(info.st_mode);
  return true;
}

class PosixEnv : public Env {
 public:
  int Open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) override {
    file.reset();
    if (mode == OpenMode::kCreateTemporary) return OpenUnnamed(path, file);
    ModeFlags flags = FlagsFor(mode);
    // A file this open creates is open nowhere else; only one already there needs the search
    // for other holders below, which costs a look at every process.
    const bool creates = mode == OpenMode::kCreateExclusive;
    int fd = OpenDescriptor(path, flags.open | (creates ? O_EXCL : 0));
    bool created = creates && fd >= 0;
    if (fd < 0 && creates && errno == EEXIST) fd = OpenDescriptor(path, flags.open);
    if (fd < 0 && creates && errno == ELOOP) {
      // A symbolic link under the name: the link itself is what gets replaced, so nothing is
      // ever created or written where it points.
      if (::unlink(path.c_str()) != 0) return errno;
      fd = OpenDescriptor(path, flags.open | O_EXCL);
      created = fd >= 0;
    }
    if (fd < 0 && mode == OpenMode::kReadExclusive && (errno == EACCES || errno == EROFS)) {
      // Nobody may write this file (its mode or a read-only mount): a read lock keeps writers
      // out, and readers cannot change it anyway.
      flags = {O_RDONLY, F_RDLCK, true};
      fd = OpenDescriptor(path, flags.open);
    }
    if (fd < 0) return errno;
    std::unique_ptr<File> opened = MakePosixFile(fd);
    struct stat info;
    if (::fstat(fd, &info) != 0) return errno;
    if (S_ISDIR(info.st_mode)) return EISDIR;
    // Only regular files hold data we read or write; a pipe or device is refused.
    if (!S_ISREG(info.st_mode)) return EACCES;
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) return errno;
    // Never wait for another holder: a refused lock means the file is in use.
    if (int error = LockWholeFile(fd, flags.lock)) return error;
    // A holder that took no lock (a program under Wine that opened the file sharing nothing)
    // is still found by its open descriptor where the system lists them.
    if (!created && (flags.exclusive || mode == OpenMode::kReadSharedDenyWrite) &&
        HeldByAnotherProcess(info, /*writersOnly=*/!flags.exclusive)) {
      return EWOULDBLOCK;
    }
    // Cut the file only once it is ours, so a file another process holds is left as it is.
    if (mode == OpenMode::kCreateExclusive && ::ftruncate(fd, 0) != 0) return errno;
    file = std::move(opened);
    return 0;
  }

  // A new file for `path` that no other file is: unnamed in the folder of `path` until Close
  // links it there, or, where the file system has no unnamed files, created under `path`
  // exclusively (never through a link).
  int OpenUnnamed(const std::string& path, std::unique_ptr<File>& file) {
    struct stat existing;
    if (::lstat(path.c_str(), &existing) == 0) return EEXIST;
    // A name the system refuses (too long, a file on the way) is refused now, not when the
    // written file is named.
    if (errno != ENOENT) return errno;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string name = path;
    int fd = -1;
#ifdef O_TMPFILE
    fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    // Before the kernel knew O_TMPFILE a folder opened for writing was EISDIR; some file
    // systems answer EOPNOTSUPP. Either way the exclusive name is the way left.
    if (fd < 0 && errno != EISDIR && errno != EOPNOTSUPP && errno != EINVAL) return errno;
#endif
    if (fd < 0) {
      name.clear();
      fd = OpenDescriptor(path, FlagsFor(OpenMode::kCreateTemporary).open);
      if (fd < 0) return errno;
      if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(path.c_str());
        return error;
      }
    }
    file = MakePosixFile(fd, name);
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

  int SyncFolder(const std::string& path) override {
    const int fd = ::open(path.empty() ? "." : path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = ::fsync(fd) != 0 ? errno : 0;
    ::close(fd);
    // Some file systems cannot sync a folder at all (EINVAL); there is nothing more to do.
    return error == EINVAL ? 0 : error;
  }

  int MakeFolder(const std::string& path) override {
    return ::mkdir(path.c_str(), 0777) != 0 ? errno : 0;
  }

  int RemoveFolder(const std::string& path) override {
    return ::rmdir(path.c_str()) != 0 ? errno : 0;
  }

  int MoveWithoutReplacing(const std::string& from, const std::string& to) override {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    // A file system that cannot refuse to replace in a rename says EINVAL; a second name
    // never replaces anything either, so that way is left.
    if (errno != EINVAL && errno != ENOSYS) return errno;
#endif
    // linkat without AT_SYMLINK_FOLLOW names a link itself, never what it points to.
    if (::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), 0) != 0) return errno;
    if (::unlink(from.c_str()) != 0) {
      const int error = errno;
      ::unlink(to.c_str());
      return error;
    }
    return 0;
  }

  int ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override {
    entries.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return errno;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
      const int error = errno;
      ::close(fd);
      return error;
    }
    int error = 0;
    for (;;) {
      errno = 0;
      const dirent* entry = ::readdir(dir);
      if (!entry) {
        error = errno;
        break;
      }
      const std::string name = entry->d_name;
      EntryKind kind;
      if (name == "." || name == ".." || !KindOfEntry(fd, *entry, kind)) continue;
      entries.push_back({name, kind});
    }
    ::closedir(dir);
    return error;
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

  void BeginOpenBurst() override {
    if (bursts_++ == 0) openElsewhere_.reset();
  }
  void EndOpenBurst() override {
    if (--bursts_ == 0) openElsewhere_.reset();
  }

  LocalTime Now() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
            local.tm_sec};
  }

 private:
  // OpenedByAnotherProcess, answered from the burst's one look when the file is not in it.
  bool HeldByAnotherProcess(const struct stat& info, bool writersOnly) {
    if (bursts_ > 0) {
      if (!openElsewhere_) openElsewhere_ = FilesOpenInOtherProcesses();
      if (!std::binary_search(openElsewhere_->begin(), openElsewhere_->end(),
                              FileId{info.st_dev, info.st_ino})) {
        return false;
      }
    }
    return OpenedByAnotherProcess(info, writersOnly);
  }

  int bursts_ = 0;
  std::optional<std::vector<FileId>> openElsewhere_;  // the burst's look, once taken
};

}  // namespace

Env& Env::Default() {
  static PosixEnv env;
  return env;
}

}  // namespace norvalde::platform
