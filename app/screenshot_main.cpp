// Saves the window as it looks on start-up to the PNG file named by the first argument.
#include <QApplication>
#include <QPixmap>

#include "app/main_form.h"
#include "app/modal_boxes.h"
#include "platform/env.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc < 2) return 2;
  norvalde::window::ModalBoxes boxes(QStringLiteral("Norvalde"));
  norvalde::window::TMForm form(norvalde::platform::Env::Default(), std::string(), boxes);
  form.show();
  QApplication::processEvents();
  return form.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
