#include "app/modal_boxes.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPushButton>
#include <utility>

#include "app/box_texts.h"

namespace norvalde::window {

AceptarMessageBox::AceptarMessageBox(const QString& caption, const QString& text) {
  setWindowTitle(caption);
  setIcon(QMessageBox::NoIcon);
  setText(text);
  setTextFormat(Qt::PlainText);
  QPushButton* aceptar = addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
  setDefaultButton(aceptar);
  setEscapeButton(aceptar);
}

void AceptarMessageBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QStringList captions;
    for (const QAbstractButton* button : buttons()) captions << button->text();
    QApplication::beep();
    QGuiApplication::clipboard()->setText(
        MessageBoxClipboardText(windowTitle(), text(), captions));
    return;
  }
  QMessageBox::keyPressEvent(event);
}

ModalBoxes::ModalBoxes(QString applicationTitle) : title_(std::move(applicationTitle)) {}

void ModalBoxes::ShowMessage(const std::string& text) {
  // Without a parent the box is centred on the screen; exec() keeps every window modal.
  AceptarMessageBox box(title_, QString::fromStdString(text));
  box.exec();
}

void ModalBoxes::ShowError(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, title_, QString::fromStdString(text), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace norvalde::window
