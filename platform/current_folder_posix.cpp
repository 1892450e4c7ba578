#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/current_folder.h"

namespace norvalde::platform {

int ChangeCurrentFolder(const std::string& path) {
  return chdir(path.c_str()) == 0 ? 0 : errno;
}

std::string CurrentFolder() {
  std::string folder(256, '\0');
  while (getcwd(folder.data(), folder.size()) == nullptr) {
    if (errno != ERANGE) return "";
    folder.resize(folder.size() * 2);
  }
  folder.resize(folder.find('\0'));
  return folder;
}

}  // namespace norvalde::platform
