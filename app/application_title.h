// The application title: the caption of every box the program shows.
#pragma once

#include <QString>

namespace norvalde::window {

// The running executable's file name without its folder, cut at its first "." and with every
// letter after the first in lower case; the first character is kept as it is.
// "C:\\Prog\\TRASPASO.nuevo.exe" gives "Traspaso".
QString ApplicationTitle(const QString& executablePath);

}  // namespace norvalde::window
