#include "app/picture_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <utility>

namespace norvalde::window {
namespace {
constexpr int kGlyphSpacing = 4;
}

TBitBtn::TBitBtn(const QString& caption, QPixmap glyph, QWidget* parent)
    : QPushButton(caption, parent), glyph_(std::move(glyph)) {
  // Enter on a focused button clicks it, also outside a dialog.
  setAutoDefault(true);
}

void TBitBtn::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  painter.drawControl(QStyle::CE_PushButtonBevel, option);

  const int textFlags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic;
  const int textWidth =
      fontMetrics().boundingRect(QRect(), textFlags, text()).width();
  const int pairWidth = glyph_.width() + kGlyphSpacing + textWidth;
  int left = (width() - pairWidth) / 2;
  int top = (height() - glyph_.height()) / 2;
  if (isDown()) {  // the pressed look shifts the contents like the frame does
    left += 1;
    top += 1;
  }
  painter.drawPixmap(left, top, glyph_);
  const QRect textRect(left + glyph_.width() + kGlyphSpacing, top, textWidth, glyph_.height());
  painter.drawItemText(textRect, textFlags, palette(), isEnabled(), text(), QPalette::ButtonText);

  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

}  // namespace norvalde::window
