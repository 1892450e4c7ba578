// The Windows Env: files through CreateFileW with share modes (a temporary file marked for
// deletion until closed complete), folders made, listed and removed without following links,
// moves by MoveFileExW that neither copy nor replace, the local clock through GetLocalTime and
// the code comparison through CompareStringA. Every error number returned is
// GetLastError(), which already is the run-time library's input/output code (2 file not found,
// 5 access denied, 32 sharing violation, ...).
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef DeleteFile  // windows.h maps it to DeleteFileW; Env has a member of that name

#include <algorithm>
#include <string>
#include <vector>

#include "platform/env.h"
#include "platform/paths.h"
#include "platform/wide_text.h"

namespace norvalde::platform {
namespace {

// ReadFile and WriteFile take a 32-bit count; larger requests go in pieces of this size.
constexpr size_t kMaxTransfer = 1u << 30;

// Two separators in a row name one, as the program joins a folder that may already end in a
// backslash with a file name. A leading pair stays: it opens a network (\\server\share) name.
std::string CollapseSeparators(const std::string& path) {
  auto isSeparator = [](char c) { return c == '\\' || c == '/'; };
  std::string result;
  result.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    if (i >= 2 && isSeparator(path[i]) && isSeparator(result.back())) continue;
    result += path[i];
  }
  return result;
}

// Past the old limit of MAX_PATH characters only the extended form names a file on every
// Windows version; that form takes a full path, so the path is completed first.
std::wstring WidePath(const std::string& path) {
  std::wstring wide = Utf8ToWide(CollapseSeparators(path));
  if (wide.size() < MAX_PATH || wide.rfind(L"\\\\?\\", 0) == 0) return wide;
  const DWORD length = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (length == 0) return wide;
  std::wstring full(length, L'\0');
  full.resize(GetFullPathNameW(wide.c_str(), length, full.data(), nullptr));
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

int LastError() {
  const DWORD error = GetLastError();
  // A failing call always sets an error; should one not, the failure must still show as one.
  return error == 0 ? ERROR_GEN_FAILURE : static_cast<int>(error);
}

struct ModeFlags {
  DWORD access;
  DWORD share;
  DWORD disposition;
};

// Sharing is the lock: a table opened shared lets others read and write it, an exclusive
// open lets nobody else in, and a ROVA file being read may be read but not written by others.
ModeFlags FlagsFor(OpenMode mode) {
  constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;
  constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE;
  switch (mode) {
    case OpenMode::kReadSharedDenyWrite:
      return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING};
    case OpenMode::kReadShared:
      return {GENERIC_READ, kShareAll, OPEN_EXISTING};
    case OpenMode::kReadWriteShared:
      return {kReadWrite, kShareAll, OPEN_EXISTING};
    case OpenMode::kReadExclusive:
      return {GENERIC_READ, 0, OPEN_EXISTING};
    case OpenMode::kReadWriteExclusive:
      return {kReadWrite, 0, OPEN_EXISTING};
    case OpenMode::kCreateExclusive:
      return {kReadWrite, 0, CREATE_ALWAYS};
    // DELETE: the file is marked for deletion until its close (see WindowsFile::Close).
    case OpenMode::kCreateTemporary:
      return {GENERIC_WRITE | DELETE, 0, CREATE_NEW};
  }
  return {GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING};
}

// Marks the file for deletion when its last handle closes, or takes the mark back.
bool SetDeleteOnClose(HANDLE handle, bool remove) {
  // Its one member is named after DeleteFile, which windows.h turns into a macro.
  FILE_DISPOSITION_INFO disposition{static_cast<BOOLEAN>(remove ? TRUE : FALSE)};
  return SetFileInformationByHandle(handle, FileDispositionInfo, &disposition,
                                    sizeof disposition) != 0;
}

class WindowsFile final : public File {
 public:
  // `temporary`: the file is deleted when the handle closes without Close (the process ends).
  explicit WindowsFile(HANDLE handle, bool temporary = false)
      : handle_(handle), temporary_(temporary) {}
  // A temporary file dropped without Close keeps its deletion mark and goes with the handle.
  ~WindowsFile() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }

  int Read(char* buffer, size_t want, size_t& got) override {
    got = 0;
    DWORD read = 0;
    if (!ReadFile(handle_, buffer, static_cast<DWORD>(std::min(want, kMaxTransfer)), &read,
                  nullptr)) {
      return LastError();
    }
    got = read;
    return 0;
  }

  int Write(const char* data, size_t size) override {
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(handle_, data, static_cast<DWORD>(std::min(size, kMaxTransfer)), &written,
                     nullptr)) {
        return LastError();
      }
      // A write that succeeds with nothing written means the device has no room left.
      if (written == 0) return ERROR_DISK_FULL;
      data += written;
      size -= written;
    }
    return 0;
  }

  int Seek(uint64_t offset) override {
    LARGE_INTEGER to;
    to.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN) ? 0 : LastError();
  }

  int Size(uint64_t& size) override {
    LARGE_INTEGER length;
    if (!GetFileSizeEx(handle_, &length)) return LastError();
    size = static_cast<uint64_t>(length.QuadPart);
    return 0;
  }

  // SetEndOfFile cuts at the file pointer, so the pointer goes there and then back: like a
  // POSIX truncate, the position for the next read or write does not change.
  int Truncate(uint64_t size) override {
    LARGE_INTEGER zero{}, here, end;
    if (!SetFilePointerEx(handle_, zero, &here, FILE_CURRENT)) return LastError();
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(handle_, end, nullptr, FILE_BEGIN)) return LastError();
    const int result = SetEndOfFile(handle_) ? 0 : LastError();
    if (!SetFilePointerEx(handle_, here, nullptr, FILE_BEGIN) && result == 0) return LastError();
    return result;
  }

  int Sync() override { return FlushFileBuffers(handle_) ? 0 : LastError(); }

  int Close() override {
    if (handle_ == INVALID_HANDLE_VALUE) return 0;
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    // A temporary file stays only when closed on purpose, complete.
    const int kept = temporary_ && !SetDeleteOnClose(handle, false) ? LastError() : 0;
    temporary_ = false;
    if (!CloseHandle(handle)) return LastError();
    return kept;
  }

 private:
  HANDLE handle_;
  bool temporary_;
};

DWORD Attributes(const std::string& path) {
  return GetFileAttributesW(WidePath(path).c_str());
}

// A symbolic link or a junction; other reparse points (a file kept in the cloud, a
// deduplicated one) are the file or folder they stand for.
bool IsLink(DWORD attributes, DWORD reparseTag) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         (reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

EntryKind KindOf(const WIN32_FIND_DATAW& found) {
  if (IsLink(found.dwFileAttributes, found.dwReserved0)) return EntryKind::kLink;
  if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return EntryKind::kFolder;
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) ? EntryKind::kOther : EntryKind::kFile;
}

// Whether the folder itself is a link: its attributes say a reparse point, and its own entry
// in its parent, found without following it, tells which kind.
bool FolderIsLink(const std::wstring& wide, DWORD attributes) {
  if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW(wide.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;  // not to be told apart: taken for a link
  FindClose(search);
  return IsLink(found.dwFileAttributes, found.dwReserved0);
}

class WindowsEnv final : public Env {
 public:
  int Open(const std::string& path, OpenMode mode, std::unique_ptr<File>& file) override {
    file.reset();
    const ModeFlags flags = FlagsFor(mode);
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (mode == OpenMode::kCreateExclusive && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      // A symbolic link under the name: the link itself is replaced, never followed.
      if (!DeleteFileW(wide.c_str())) return LastError();
    }
    const HANDLE handle = CreateFileW(wide.c_str(), flags.access, flags.share, nullptr,
                                      flags.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return LastError();
    const bool temporary = mode == OpenMode::kCreateTemporary;
    auto opened = std::make_unique<WindowsFile>(handle, temporary);
    // Windows has no unnamed files: the new one is marked for deletion at once, so that a
    // process that dies while writing it leaves nothing; Close takes the mark back.
    if (temporary && !SetDeleteOnClose(handle, true)) return LastError();
    // Only disk files hold data we read or write: a device name (CON, a port, a pipe) could
    // wait forever for input, so it is refused as the system refuses a folder.
    if (GetFileType(handle) != FILE_TYPE_DISK) return ERROR_ACCESS_DENIED;
    file = std::move(opened);
    return 0;
  }

  bool FileExists(const std::string& path) override {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::string& path) override {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  int DeleteFile(const std::string& path) override {
    return DeleteFileW(WidePath(path).c_str()) ? 0 : LastError();
  }

  int RenameFile(const std::string& from, const std::string& to) override {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING)
               ? 0
               : LastError();
  }

  int MakeFolder(const std::string& path) override {
    return CreateDirectoryW(WidePath(path).c_str(), nullptr) ? 0 : LastError();
  }

  // RemoveDirectoryW removes a link to a folder itself, never what it points to.
  int RemoveFolder(const std::string& path) override {
    return RemoveDirectoryW(WidePath(path).c_str()) ? 0 : LastError();
  }

  // Without MOVEFILE_COPY_ALLOWED a move to another volume fails instead of copying, and
  // without MOVEFILE_REPLACE_EXISTING a taken name fails with ERROR_ALREADY_EXISTS.
  int MoveWithoutReplacing(const std::string& from, const std::string& to) override {
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), 0) ? 0 : LastError();
  }

  int ListFolder(const std::string& path, std::vector<FolderEntry>& entries) override {
    entries.clear();
    const std::wstring wide = WidePath(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return LastError();
    // As Windows answers a path that goes on through a file.
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || FolderIsLink(wide, attributes)) {
      return ERROR_PATH_NOT_FOUND;
    }
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileExW(WidePath(JoinPath(path, "*")).c_str(),
                                           FindExInfoBasic, &found, FindExSearchNameMatch,
                                           nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
      // A drive's root has no "." entry, so an empty one lists nothing at all.
      return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : LastError();
    }
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") entries.push_back({WideToUtf8(name), KindOf(found)});
    } while (FindNextFileW(search, &found));
    const int error = GetLastError() == ERROR_NO_MORE_FILES ? 0 : LastError();
    FindClose(search);
    return error;
  }

  // NTFS journals its names: a rename or creation that returned is already durable.
  int SyncFolder(const std::string&) override { return 0; }

  // The file system already ignores case, so any spelling of the name opens the file.
  std::string FindFileIgnoringCase(const std::string& path) override {
    return CollapseSeparators(path);
  }

  LocalTime Now() override {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  }
};

}  // namespace

Env& Env::Default() {
  static WindowsEnv env;
  return env;
}

}  // namespace norvalde::platform
