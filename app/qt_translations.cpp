#include "app/qt_translations.h"

#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace norvalde::window {

bool InstallQtTranslations(QCoreApplication& application, const QLocale& language) {
  // "qt_<language>" gathers the catalogues of every Qt module.
  auto* translator = new QTranslator(&application);
  const QStringList folders{
      QLibraryInfo::path(QLibraryInfo::TranslationsPath),
      QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations")),
  };
  for (const QString& folder : folders) {
    if (translator->load(language, QStringLiteral("qt"), QStringLiteral("_"), folder)) {
      return QCoreApplication::installTranslator(translator);
    }
  }
  delete translator;
  return false;
}

}  // namespace norvalde::window
