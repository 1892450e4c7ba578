// The folder label's text: the current folder's path shortened to a width.
#pragma once

#include <QChar>
#include <QString>
#include <functional>

namespace norvalde::window {

// Shortens `path` until `textWidth` of it is at most `maxWidth`, by replacing its first folders
// with "..." one at a time, then dropping the drive ("C:") and the folder part. With a
// separator "\", "C:\Datos\Centro\Curso 2004\Envio" is tried as "C:\...\Centro\Curso 2004\Envio",
// "C:\...\Curso 2004\Envio", "C:\...\Envio", "...\Envio" and "Envio", stopping at the first that
// fits. Paths on systems with "/" have no drive part.
QString ShortenFolderPath(const QString& path, int maxWidth,
                          const std::function<int(const QString&)>& textWidth, QChar separator);

}  // namespace norvalde::window
