// A push button with a picture: an 18 x 18 glyph left of the caption, 4 pixels apart, the pair
// centred on the button.
#pragma once

#include <QPixmap>
#include <QPushButton>

namespace norvalde::window {

class TBitBtn : public QPushButton {
  Q_OBJECT
 public:
  TBitBtn(const QString& caption, QPixmap glyph, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap glyph_;
};

}  // namespace norvalde::window
