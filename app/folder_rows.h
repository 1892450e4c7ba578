// What the folder list shows for a current folder: the root, the folders down to the current
// one, and the current folder's subfolders, each with its icon and indentation.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "app/pictures.h"

namespace norvalde::window {

struct FolderRow {
  QString text;      // the name shown
  QString path;      // the folder that a double-click on the row opens
  FolderIcon icon;
  int iconLeft = 0;  // pixels from the list's left edge
};

// The length of the root part of `path`: "C:\" (3), "\\servidor\datos\" (up to and including
// the backslash after the share), "/" (1); 0 when the path has none of these shapes.
qsizetype RootLength(const QString& path);

// The rows for `currentFolder` (a full path as the system reports it, a root ending with its
// separator) whose subfolders, already sorted, are `subfolders`. The current folder's row is
// the one with FolderIcon::kCurrent.
std::vector<FolderRow> FolderRows(const QString& currentFolder, const QStringList& subfolders,
                                  QChar separator);

}  // namespace norvalde::window
