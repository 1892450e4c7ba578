// The folder list: the opened folder with its ancestors and subfolders. Double-clicking a row
// opens that folder, which also becomes the process's current directory.
#pragma once

#include <QListWidget>
#include <string>

namespace norvalde::window {

class TDirectoryListBox : public QListWidget {
  Q_OBJECT
 public:
  explicit TDirectoryListBox(QWidget* parent);

  // The opened folder, as the system names it (bytes that need not be UTF-8 off Windows): the
  // only thing the actions read. The selected row plays no part.
  const std::string& Directory() const { return directory_; }

  // Shows the process's current directory as the opened folder.
  void ShowCurrentFolder();
  // Enters `path` and shows it. Throws norvalde::Error with the library's message for the
  // system's error code when it cannot be entered; the list then stays as it was.
  void OpenFolder(const std::string& path);
  // Opens the folder of the row, as a double-click on it does.
  void OpenRow(int row);

 signals:
  void DirectoryChanged();

 private:
  void Rebuild();

  std::string directory_;
};

}  // namespace norvalde::window
