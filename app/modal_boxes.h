// The real message box and error box: modal, centred on the screen, captioned with the
// application title.
#pragma once

#include <QMessageBox>
#include <QString>

#include "app/window_messages.h"

namespace norvalde::window {

// A box without icon and with the one button "Aceptar", which Enter, Esc and the close box all
// press. Ctrl+C beeps and copies the box's text in the layout of MessageBoxClipboardText.
class AceptarMessageBox : public QMessageBox {
  Q_OBJECT
 public:
  AceptarMessageBox(const QString& caption, const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

class ModalBoxes : public WindowMessages {
 public:
  explicit ModalBoxes(QString applicationTitle);
  void ShowMessage(const std::string& text) override;
  void ShowError(const std::string& text) override;

 private:
  QString title_;
};

}  // namespace norvalde::window
