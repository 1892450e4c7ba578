// Finding another process that holds a file open without any lock, as fuser(1) does. A program
// under Wine that opens a file sharing nothing takes no lock the system knows of (Wine keeps
// its share modes to itself), so only its open descriptor shows it holds the file.
#pragma once

#include <sys/stat.h>

#include <utility>
#include <vector>

namespace norvalde::platform {

// Whether a process other than this one, run by the same user, has the file `info` describes
// open; with `writersOnly`, open for writing. Processes the system does not let us see (other
// users', a /proc mounted to hide them, systems without /proc) are not found.
bool OpenedByAnotherProcess(const struct stat& info, bool writersOnly);

// A file as the system knows it, whatever its names: its device and inode.
using FileId = std::pair<dev_t, ino_t>;

// The files that processes other than this one, run by the same user, have open, in
// ascending order, found as OpenedByAnotherProcess finds them: one look for several files.
std::vector<FileId> FilesOpenInOtherProcesses();

}  // namespace norvalde::platform
