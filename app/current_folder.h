// The process's current directory, which the folder list moves with the folder it opens.
#pragma once

#include <QString>

namespace norvalde::window {

// Makes `path` the process's current directory. Returns 0, or the system's error number.
int ChangeCurrentFolder(const QString& path);

// The process's current directory as the system reports it, in native spelling.
QString CurrentFolder();

}  // namespace norvalde::window
