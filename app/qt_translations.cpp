#include "app/qt_translations.h"

#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace norvalde::window {

bool InstallQtTranslations(QCoreApplication& application, const QLocale& language) {
  // "qtbase_<language>" holds the texts of Qt's widgets and standard buttons, the only Qt module
  // the window uses; "qt_<language>" would also need every other module's catalogue beside it.
  auto* translator = new QTranslator(&application);
  const QStringList folders{
      QLibraryInfo::path(QLibraryInfo::TranslationsPath),
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
  };
  for (const QString& folder : folders) {
    if (translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
      return QCoreApplication::installTranslator(translator);
    }
  }
  delete translator;
  return false;
}

}  // namespace norvalde::window
