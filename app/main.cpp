// Norvalde: carries school-timetable data between the ROVA exchange files of a chosen folder
// and the work tables of the timetabling program.
#include <QApplication>

#include "app/application_title.h"
#include "app/main_form.h"
#include "app/modal_boxes.h"
#include "app/qt_translations.h"
#include "platform/env.h"
#include "platform/paths.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The error box's button and Qt's other texts in the system's language, like Windows' own.
  norvalde::window::InstallQtTranslations(application);
  const QString title =
      norvalde::window::ApplicationTitle(QCoreApplication::applicationFilePath());
  norvalde::window::ModalBoxes boxes(title);
  norvalde::window::TMForm form(norvalde::platform::Env::Default(),
                                norvalde::platform::WorkFolder(), boxes);
  form.show();
  // Closing the window, the program's only one, ends the loop with 0.
  return application.exec();
}
