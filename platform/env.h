// The seam between Norvalde and the operating system: files, folders, sharing and locks, and
// the local clock (the code comparison is its own seam, platform/collation.h). The core
// receives an Env& and never calls the system itself, so a test can stand in for any part of
// it (EnvWrapper, FileWrapper) and make a chosen operation fail.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace norvalde::platform {

// How a file is opened and what other processes may do meanwhile.
enum class OpenMode {
  kReadSharedDenyWrite,    // read; others may read but not write (ROVA files)
  kReadShared,             // read; a shared table lock (tables opened shared, read-only)
  kReadWriteShared,        // read and write; a shared table lock
  kReadExclusive,          // read; nobody else may have the file open
  kReadWriteExclusive,     // read and write; nobody else may have the file open
  kCreateExclusive,        // create or truncate, write; held exclusively while written.
                           // A symbolic link under the name is replaced, never followed.
  kCreateTemporary,        // a new file under a name nothing has yet (EEXIST otherwise,
                           // links included), write. Where the system can, the file has no
                           // name until Close gives it one, so a writer that dies leaves
                           // nothing behind.
};

// An open file. Every operation returns 0 on success or the operating system's error number
// (errno, or GetLastError() on Windows).
class File {
 public:
  virtual ~File() = default;
  // Reads up to `want` bytes into `buffer`; `got` is 0 only at the end of the file.
  virtual int Read(char* buffer, size_t want, size_t& got) = 0;
  // Writes all `size` bytes or fails.
  virtual int Write(const char* data, size_t size) = 0;
  virtual int Seek(uint64_t offset) = 0;
  virtual int Size(uint64_t& size) = 0;
  // Cuts or extends the file to `size` bytes.
  virtual int Truncate(uint64_t size) = 0;
  // Flushes to the device before a rename makes the file visible under its final name.
  virtual int Sync() = 0;
  // A file opened kCreateTemporary takes its name here; that fails (EEXIST) rather than
  // replace anything that took the name meanwhile.
  virtual int Close() = 0;
};

// Forwards every call to another File; a test or the benchmark derives from it and overrides
// only the calls it watches or changes.
class FileWrapper : public File {
 public:
  explicit FileWrapper(std::unique_ptr<File> target) : target_(std::move(target)) {}
  File& target() const { return *target_; }

  int Read(char* buffer, size_t want, size_t& got) override {
    return target_->Read(buffer, want, got);
  }
  int Write(const char* data, size_t size) override { return target_->Write(data, size); }
  int Seek(uint64_t offset) override { return target_->Seek(offset); }
  int Size(uint64_t& size) override { return target_->Size(size); }
  int Truncate(uint64_t size) override { return target_->Truncate(size); }
  int Sync() override { return target_->Sync(); }
  int Close() override { return target_->Close(); }

 private:
  std::unique_ptr<File> target_;
};

// A local date and time to the second.
struct LocalTime {
  int year = 0;
  int month = 0;   // 1-12
  int day = 0;     // 1-31
  int hour = 0;    // 0-23
  int minute = 0;  // 0-59
  int second = 0;  // 0-59 (60 in a leap second)
};

// What a name in a folder stands for, the name itself looked at: a symbolic link (on Windows
// also a junction) is a link, whatever it points to.
enum class EntryKind { kFile, kFolder, kLink, kOther };

struct FolderEntry {
  std::string name;
  EntryKind kind;
};

class Env {
 public:
  virtual ~Env() = default;

  // The operating system itself. Lives for the whole process.
  static Env& Default();

  // Files. Paths are UTF-8 (Windows: converted to the system's wide names).
  virtual int Open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) = 0;
  virtual bool FileExists(const std::string& path) = 0;    // a regular file
  virtual bool FolderExists(const std::string& path) = 0;
  virtual int DeleteFile(const std::string& path) = 0;
  // Replaces `to` atomically when it exists.
  virtual int RenameFile(const std::string& from, const std::string& to) = 0;
  // Makes the folder's list of names (files created, deleted or renamed in it) durable, as
  // Sync does for a file's bytes. Where the system keeps names durable by itself, nothing.
  virtual int SyncFolder(const std::string& path) = 0;
  // Makes the folder `path` inside an existing one. A name already taken, by anything, fails
  // (platform::NameTaken tells that error).
  virtual int MakeFolder(const std::string& path) = 0;
  // Removes the folder `path` when it is empty; a link under the name is never followed.
  virtual int RemoveFolder(const std::string& path) = 0;
  // Gives the file or link `from` the name `to` within one file system: constant time, never
  // a copy (another device fails), and never replacing anything under `to` (NameTaken).
  virtual int MoveWithoutReplacing(const std::string& from, const std::string& to) = 0;
  // The entries of the folder `path`, without "." and "..", in no set order, each with its own
  // kind (a link is never followed). `path` itself must be a folder, not a link to one: a
  // file or a link there fails like a path through a file (ENOTDIR, ERROR_PATH_NOT_FOUND).
  virtual int ListFolder(const std::string& path, std::vector<FolderEntry>& entries) = 0;
  // The path under which the file named by `path` exists, found ignoring ASCII case in its last
  // component: the exact name first, then any name equal to it ignoring case. When nothing
  // matches, `path` itself (so a new file gets the name asked for).
  virtual std::string FindFileIgnoringCase(const std::string& path) = 0;

  // The local clock, read anew at each call.
  virtual LocalTime Now() = 0;

  // Between these (OpenBurst), opens check for other holders of their files against one look
  // at what other processes have open, taken at the first open that needs it, instead of a
  // look each: a look reads every open descriptor of every process and costs more than the
  // rest of opening a file. For a run that opens its files one right after the other. A file
  // the look finds is looked for anew before it is refused, so nothing is refused on what has
  // changed since. Calls nest. Where the system refuses such opens itself, nothing.
  virtual void BeginOpenBurst() {}
  virtual void EndOpenBurst() {}
};

// The opens made while one lives are a burst of `env` (Env::BeginOpenBurst).
class OpenBurst {
 public:
  explicit OpenBurst(Env& env) : env_(env) { env_.BeginOpenBurst(); }
  ~OpenBurst() { env_.EndOpenBurst(); }
  OpenBurst(const OpenBurst&) = delete;
  OpenBurst& operator=(const OpenBurst&) = delete;

 private:
  Env& env_;
};

// Forwards every call to another Env; tests derive from it and override what they change.
class EnvWrapper : public Env {
 public:
  explicit EnvWrapper(Env& target) : target_(target) {}
  Env& target() const { return target_; }

  int Open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) override {
    return target_.Open(path, mode, file);
  }
  bool FileExists(const std::string& path) override { return target_.FileExists(path); }
  bool FolderExists(const std::string& path) override { return target_.FolderExists(path); }
  int DeleteFile(const std::string& path) override { return target_.DeleteFile(path); }
  int RenameFile(const std::string& from, const std::string& to) override {
    return target_.RenameFile(from, to);
  }
  int SyncFolder(const std::string& path) override { return target_.SyncFolder(path); }
  int MakeFolder(const std::string& path) override { return target_.MakeFolder(path); }
  int RemoveFolder(const std::string& path) override { return target_.RemoveFolder(path); }
  int MoveWithoutReplacing(const std::string& from, const std::string& to) override {
    return target_.MoveWithoutReplacing(from, to);
  }
  int ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override {
    return target_.ListFolder(path, entries);
  }
  std::string FindFileIgnoringCase(const std::string& path) override {
    return target_.FindFileIgnoringCase(path);
  }
  LocalTime Now() override { return target_.Now(); }
  void BeginOpenBurst() override { target_.BeginOpenBurst(); }
  void EndOpenBurst() override { target_.EndOpenBurst(); }

 private:
  Env& target_;
};

}  // namespace norvalde::platform
