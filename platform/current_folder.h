// The process's current directory, which the folder list moves with the folder it opens.
// Paths are UTF-8.
#pragma once

#include <string>

namespace norvalde::platform {

// Makes `path` the process's current directory. Returns 0, or the system's error number.
int ChangeCurrentFolder(const std::string& path);

// The process's current directory as the system reports it, in native spelling.
std::string CurrentFolder();

}  // namespace norvalde::platform
