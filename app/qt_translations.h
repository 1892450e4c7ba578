// Qt's own texts (the standard buttons of the error box, the context menus of the controls)
// in the user's language, as the system's own boxes speak it. The program's texts are fixed
// Spanish and never go through a translation.
#pragma once

#include <QCoreApplication>
#include <QLocale>

namespace norvalde::window {

// Installs Qt's translations for `language` (by default the system's, unless a default locale
// was set) from Qt's translations folder, or from a "translations" folder beside the
// executable as a Windows deployment has it. Returns false, changing nothing, when Qt ships
// none for that language: Qt's English texts then stay.
bool InstallQtTranslations(QCoreApplication& application, const QLocale& language = QLocale());

}  // namespace norvalde::window
