#include "platform/file_holders.h"

#include <dirent.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>

namespace norvalde::platform {

#ifdef __linux__

namespace {

bool AllDigits(const char* name) {
  if (*name == '\0') return false;
  for (; *name; ++name) {
    if (*name < '0' || *name > '9') return false;
  }
  return true;
}

// The access mode of a descriptor, from the octal "flags:" line of its fdinfo entry.
bool OpenForWriting(const std::string& fdinfo) {
  FILE* info = std::fopen(fdinfo.c_str(), "re");
  if (!info) return false;
  char line[128];
  long flags = O_RDONLY;
  while (std::fgets(line, sizeof line, info)) {
    if (std::sscanf(line, "flags: %lo", &flags) == 1) break;
  }
  std::fclose(info);
  return (flags & O_ACCMODE) != O_RDONLY;
}

// Calls `visit(process, name, file)` for each open descriptor of each process of this user
// other than this one: its process folder ("/proc/<pid>"), its name in that folder's "fd", and
// the file it has open, until `visit` returns true. Whether one did.
template <typename Visit>
bool AnyDescriptorOfOthers(Visit visit) {
  DIR* processes = ::opendir("/proc");
  if (!processes) return false;
  const pid_t self = ::getpid();
  const uid_t user = ::geteuid();
  bool found = false;
  while (!found) {
    const dirent* entry = ::readdir(processes);
    if (!entry) break;
    if (!AllDigits(entry->d_name) || std::atol(entry->d_name) == self) continue;
    const std::string process = std::string("/proc/") + entry->d_name;
    struct stat owner;
    if (::stat(process.c_str(), &owner) != 0 || owner.st_uid != user) continue;
    DIR* descriptors = ::opendir((process + "/fd").c_str());
    if (!descriptors) continue;  // gone, or not ours to look at
    while (!found) {
      const dirent* descriptor = ::readdir(descriptors);
      if (!descriptor) break;
      if (!AllDigits(descriptor->d_name)) continue;
      // stat follows the descriptor's link to the open file itself, whatever its name now.
      struct stat target;
      if (::stat((process + "/fd/" + descriptor->d_name).c_str(), &target) != 0) continue;
      found = visit(process, descriptor->d_name, target);
    }
    ::closedir(descriptors);
  }
  ::closedir(processes);
  return found;
}

}  // namespace

bool OpenedByAnotherProcess(const struct stat& info, bool writersOnly) {
  return AnyDescriptorOfOthers([&](const std::string& process, const char* name,
                                   const struct stat& target) {
    return target.st_dev == info.st_dev && target.st_ino == info.st_ino &&
           (!writersOnly || OpenForWriting(process + "/fdinfo/" + name));
  });
}

std::vector<FileId> FilesOpenInOtherProcesses() {
  std::vector<FileId> files;
  AnyDescriptorOfOthers([&](const std::string&, const char*, const struct stat& target) {
    files.push_back({target.st_dev, target.st_ino});
    return false;
  });
  std::sort(files.begin(), files.end());
  files.erase(std::unique(files.begin(), files.end()), files.end());
  return files;
}

#else

// Without /proc there is no list of open descriptors to read; only locks show a holder.
bool OpenedByAnotherProcess(const struct stat&, bool) { return false; }
std::vector<FileId> FilesOpenInOtherProcesses() { return {}; }

#endif

}  // namespace norvalde::platform
