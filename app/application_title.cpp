#include "app/application_title.h"

#include <algorithm>

namespace norvalde::window {

QString ApplicationTitle(const QString& executablePath) {
  // Both separators count, so a Windows path gives the same title on any system.
  const qsizetype folderEnd =
      std::max(executablePath.lastIndexOf(u'/'), executablePath.lastIndexOf(u'\\'));
  QString name = executablePath.mid(folderEnd + 1);
  const qsizetype dot = name.indexOf(u'.');
  if (dot >= 0) name.truncate(dot);
  return name.left(1) + name.mid(1).toLower();
}

}  // namespace norvalde::window
