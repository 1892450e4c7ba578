#include <dirent.h>
#include <sys/stat.h>
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

std::vector<std::string> ListSubfolders(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return names;
  const std::string prefix = folder.ends_with('/') ? folder : folder + '/';
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;  // hidden, and "." and ".."
    struct stat info;
    const bool isFolder =
        entry->d_type == DT_DIR ||
        ((entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) &&
         ::stat((prefix + entry->d_name).c_str(), &info) == 0 && S_ISDIR(info.st_mode));
    if (isFolder) names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  return names;
}

}  // namespace norvalde::platform
