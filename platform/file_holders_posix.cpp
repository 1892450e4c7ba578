#include "platform/file_holders.h"

#include <dirent.h>
#include <unistd.h>

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

// Whether one of the descriptors the process folder `process` lists is the file.
bool ProcessHolds(const std::string& process, const struct stat& file, bool writersOnly) {
  DIR* descriptors = ::opendir((process + "/fd").c_str());
  if (!descriptors) return false;  // gone, or not ours to look at
  bool holds = false;
  while (const dirent* entry = ::readdir(descriptors)) {
    if (!AllDigits(entry->d_name)) continue;
    // stat follows the descriptor's link to the open file itself, whatever its name now.
    struct stat target;
    if (::stat((process + "/fd/" + entry->d_name).c_str(), &target) != 0) continue;
    if (target.st_dev != file.st_dev || target.st_ino != file.st_ino) continue;
    if (!writersOnly || OpenForWriting(process + "/fdinfo/" + entry->d_name)) {
      holds = true;
      break;
    }
  }
  ::closedir(descriptors);
  return holds;
}

}  // namespace

bool OpenedByAnotherProcess(const struct stat& info, bool writersOnly) {
  DIR* processes = ::opendir("/proc");
  if (!processes) return false;
  const pid_t self = ::getpid();
  const uid_t user = ::geteuid();
  bool held = false;
  while (const dirent* entry = ::readdir(processes)) {
    if (!AllDigits(entry->d_name) || std::atol(entry->d_name) == self) continue;
    const std::string process = std::string("/proc/") + entry->d_name;
    struct stat owner;
    if (::stat(process.c_str(), &owner) != 0 || owner.st_uid != user) continue;
    if (ProcessHolds(process, info, writersOnly)) {
      held = true;
      break;
    }
  }
  ::closedir(processes);
  return held;
}

#else

// Without /proc there is no list of open descriptors to read; only locks show a holder.
bool OpenedByAnotherProcess(const struct stat&, bool) { return false; }

#endif

}  // namespace norvalde::platform
