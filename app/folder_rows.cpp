#include "app/folder_rows.h"

#include <algorithm>

namespace norvalde::window {
namespace {

constexpr int kFirstIconLeft = 2;
constexpr int kIndentStep = 4;

// The names between the separators of `path`, empty ones left out.
std::vector<std::string> PathNames(std::string_view path, char separator) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= path.size()) {
    const size_t end = std::min(path.find(separator, start), path.size());
    if (end > start) names.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace

QString ShownName(std::string_view bytes) {
  return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

size_t RootLength(std::string_view path) {
  if (path.starts_with("\\\\")) {
    // A network path: the server and the share name belong to the root.
    size_t end = path.find('\\', 2);
    if (end != std::string_view::npos) end = path.find('\\', end + 1);
    return end != std::string_view::npos ? end + 1 : path.size();
  }
  if (path.size() >= 2 && path[1] == ':') {
    return path.size() >= 3 && path[2] == '\\' ? 3 : 2;
  }
  return path.starts_with('/') || path.starts_with('\\') ? 1 : 0;
}

std::vector<FolderRow> FolderRows(const std::string& currentFolder,
                                  const std::vector<std::string>& subfolders, char separator) {
  std::vector<FolderRow> rows;
  const std::string root = currentFolder.substr(0, RootLength(currentFolder));
  const std::vector<std::string> names =
      PathNames(std::string_view(currentFolder).substr(root.size()), separator);

  rows.push_back({ShownName(root), root,
                  names.empty() ? FolderIcon::kCurrent : FolderIcon::kOpen, kFirstIconLeft});
  std::string path = root;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) path += separator;
    path += names[i];
    const bool current = i == names.size() - 1;
    rows.push_back({ShownName(names[i]), path, current ? FolderIcon::kCurrent : FolderIcon::kOpen,
                    kFirstIconLeft + kIndentStep * static_cast<int>(i + 1)});
  }

  // Subfolders are indented by the number of separators in the path, so those of a root sit
  // one step further in than those of a folder one level down would suggest.
  const int subfolderLeft = 6 + kIndentStep * static_cast<int>(std::count(
                                                  currentFolder.begin(), currentFolder.end(),
                                                  separator));
  const std::string prefix =
      currentFolder.ends_with(separator) ? currentFolder : currentFolder + separator;
  for (const std::string& name : subfolders) {
    rows.push_back({ShownName(name), prefix + name, FolderIcon::kClosed, subfolderLeft});
  }
  return rows;
}

}  // namespace norvalde::window
