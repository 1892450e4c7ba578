#include "app/folder_rows.h"

namespace norvalde::window {
namespace {

constexpr int kFirstIconLeft = 2;
constexpr int kIndentStep = 4;

}  // namespace

qsizetype RootLength(const QString& path) {
  if (path.startsWith(QStringLiteral("\\\\"))) {
    // A network path: the server and the share name belong to the root.
    qsizetype end = path.indexOf(u'\\', 2);
    if (end >= 0) end = path.indexOf(u'\\', end + 1);
    return end >= 0 ? end + 1 : path.size();
  }
  if (path.size() >= 2 && path[1] == u':') {
    return path.size() >= 3 && path[2] == u'\\' ? 3 : 2;
  }
  return path.startsWith(u'/') || path.startsWith(u'\\') ? 1 : 0;
}

std::vector<FolderRow> FolderRows(const QString& currentFolder, const QStringList& subfolders,
                                  QChar separator) {
  std::vector<FolderRow> rows;
  const QString root = currentFolder.left(RootLength(currentFolder));
  const QStringList names = currentFolder.mid(root.size()).split(separator, Qt::SkipEmptyParts);

  rows.push_back({root, root, names.isEmpty() ? FolderIcon::kCurrent : FolderIcon::kOpen,
                  kFirstIconLeft});
  QString path = root;
  for (qsizetype i = 0; i < names.size(); ++i) {
    if (i > 0) path += separator;
    path += names[i];
    const bool current = i == names.size() - 1;
    rows.push_back({names[i], path, current ? FolderIcon::kCurrent : FolderIcon::kOpen,
                    kFirstIconLeft + kIndentStep * static_cast<int>(i + 1)});
  }

  // Subfolders are indented by the number of separators in the path, so those of a root sit
  // one step further in than those of a folder one level down would suggest.
  const int subfolderLeft =
      6 + kIndentStep * static_cast<int>(currentFolder.count(separator));
  const QString prefix = currentFolder.endsWith(separator) ? currentFolder
                                                           : currentFolder + separator;
  for (const QString& name : subfolders) {
    rows.push_back({name, prefix + name, FolderIcon::kClosed, subfolderLeft});
  }
  return rows;
}

}  // namespace norvalde::window
