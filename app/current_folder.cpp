#include "app/current_folder.h"

#include <QDir>

#ifdef _WIN32
#include <windows.h>
#else
#include <QFile>
#include <cerrno>
#include <unistd.h>
#endif

namespace norvalde::window {

int ChangeCurrentFolder(const QString& path) {
#ifdef _WIN32
  if (SetCurrentDirectoryW(reinterpret_cast<const wchar_t*>(path.utf16()))) return 0;
  return static_cast<int>(GetLastError());
#else
  return chdir(QFile::encodeName(path).constData()) == 0 ? 0 : errno;
#endif
}

QString CurrentFolder() { return QDir::toNativeSeparators(QDir::currentPath()); }

}  // namespace norvalde::window
