#include "app/folder_label.h"

namespace norvalde::window {
namespace {

// Replaces the first folder of `folders` (which ends with a separator) by "...".
QString CutFirstFolder(QString folders, QChar separator) {
  const QString ellipsis = QStringLiteral("...") + separator;
  if (folders == QString(separator)) return {};
  const bool fromRoot = folders.startsWith(separator);
  if (fromRoot) folders.remove(0, 1);
  if (folders.startsWith(ellipsis)) folders.remove(0, ellipsis.size());
  const qsizetype next = folders.indexOf(separator);
  folders = next >= 0 ? ellipsis + folders.mid(next + 1) : QString();
  if (fromRoot) folders.prepend(separator);
  return folders;
}

}  // namespace

QString ShortenFolderPath(const QString& path, int maxWidth,
                          const std::function<int(const QString&)>& textWidth, QChar separator) {
  const bool hasDrive = separator == u'\\' && path.size() >= 2 && path[1] == u':';
  QString drive = hasDrive ? path.left(2) : QString();
  const QString rest = path.mid(drive.size());
  const qsizetype nameStart = rest.lastIndexOf(separator) + 1;
  QString folders = rest.left(nameStart);
  const QString name = rest.mid(nameStart);
  const QString rootEllipsis = separator + QStringLiteral("...") + separator;

  while ((!drive.isEmpty() || !folders.isEmpty()) && textWidth(drive + folders + name) > maxWidth) {
    if (folders == rootEllipsis) {
      drive.clear();
      folders = QStringLiteral("...") + separator;
    } else if (folders.isEmpty()) {
      drive.clear();
    } else {
      folders = CutFirstFolder(folders, separator);
    }
  }
  return drive + folders + name;
}

}  // namespace norvalde::window
