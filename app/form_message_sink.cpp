#include "app/form_message_sink.h"

#include <QApplication>

namespace norvalde::window {

void SetBusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }

void RestoreBusyCursor() {
  while (QApplication::overrideCursor() != nullptr) QApplication::restoreOverrideCursor();
}

}  // namespace norvalde::window
