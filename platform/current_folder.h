// The process's current directory, which the folder list moves with the folder it opens, and
// the subfolders the list shows. Paths are as the system names them: UTF-8 on Windows; bytes
// elsewhere, which need not be UTF-8 (a folder copied from an old disk may be Latin-1) and are
// kept as they are so that the folder can be found again.
#pragma once

#include <string>
#include <vector>

namespace norvalde::platform {

// Makes `path` the process's current directory. Returns 0, or the system's error number.
int ChangeCurrentFolder(const std::string& path);

// The process's current directory as the system reports it, in native spelling.
std::string CurrentFolder();

// The names of the folders in `folder`, in no particular order, without "." and "..", and
// without hidden ones (Windows: hidden or system; elsewhere: a name starting with ".").
// Links to folders count as folders. Empty when `folder` cannot be read.
std::vector<std::string> ListSubfolders(const std::string& folder);

}  // namespace norvalde::platform
