// What the folder list shows for a current folder: the root, the folders down to the current
// one, and the current folder's subfolders, each with its icon and indentation.
#pragma once

#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "app/pictures.h"

namespace norvalde::window {

struct FolderRow {
  QString text;      // the name shown
  std::string path;  // the folder that a double-click on the row opens, as the system names it
  FolderIcon icon;
  int iconLeft = 0;  // pixels from the list's left edge
};

// A name or path as the window shows it: its UTF-8 text, with U+FFFD for bytes that are no
// UTF-8 (a Latin-1 "A\xF1o" shows as "A\uFFFDo").
QString ShownName(std::string_view bytes);

// The length of the root part of `path`: "C:\" (3), "\\servidor\datos\" (up to and including
// the backslash after the share), "/" (1); 0 when the path has none of these shapes.
size_t RootLength(std::string_view path);

// The rows for `currentFolder` (a full path as the system reports it, a root ending with its
// separator) whose subfolders, already sorted, are `subfolders`. The current folder's row is
// the one with FolderIcon::kCurrent. Paths keep the system's bytes; texts are ShownName's.
std::vector<FolderRow> FolderRows(const std::string& currentFolder,
                                  const std::vector<std::string>& subfolders, char separator);

}  // namespace norvalde::window
