#include "app/gradient_panel.h"

#include <QEvent>
#include <QPainter>
#include <QtMath>
#include <algorithm>
#include <cstdlib>
#include <utility>

namespace norvalde::window {
namespace {

// numerator / denominator (denominator > 0) rounded to the nearest integer, halves away from
// zero.
int RoundedQuotient(int numerator, int denominator) {
  const int magnitude = (2 * std::abs(numerator) + denominator) / (2 * denominator);
  return numerator < 0 ? -magnitude : magnitude;
}

int Blend(int bottom, int top, int band, int bands) {
  if (bands == 1) return bottom;
  return bottom + RoundedQuotient(band * (top - bottom), bands - 1);
}

// Fills rows [top, bottom) with `bottomColor` at the bottom row fading to `topColor` at the top.
void FillTwoColors(QPainter& painter, int width, int top, int bottom, QColor bottomColor,
                   QColor topColor) {
  const int height = bottom - top;
  if (height <= 0) return;
  const int bands = std::min(height, 256);
  for (int band = 0; band < bands; ++band) {
    const QColor color(Blend(bottomColor.red(), topColor.red(), band, bands),
                       Blend(bottomColor.green(), topColor.green(), band, bands),
                       Blend(bottomColor.blue(), topColor.blue(), band, bands));
    const int firstRow = bottom - RoundedQuotient((band + 1) * height, bands);
    const int lastRow = bottom - RoundedQuotient(band * height, bands) - 1;
    painter.fillRect(0, firstRow, width, lastRow - firstRow + 1, color);
  }
}

}  // namespace

GradientColors BottomPanelColors() {
  return {QColor(194, 205, 254), QColor(207, 242, 254), QColor(204, 216, 230)};
}

GradientColors TopPanelColors() {
  return {QColor(249, 211, 125), QColor(255, 255, 255), QColor(255, 238, 221)};
}

QImage PaintGradientPanel(QSize size, const GradientColors& colors, QColor light, QColor dark) {
  QImage image(size, QImage::Format_RGB32);
  const int width = size.width();
  const int height = size.height();
  QPainter painter(&image);
  const int mid = height / 2;
  FillTwoColors(painter, width, 0, mid, colors.mid, colors.end);
  FillTwoColors(painter, width, mid, height, colors.start, colors.mid);

  painter.setPen(light);
  painter.drawLine(0, 0, 0, height - 2);
  painter.drawLine(0, 0, width - 2, 0);
  painter.setPen(dark);
  painter.drawLine(width - 1, 0, width - 1, height - 2);
  painter.drawLine(0, height - 1, width - 1, height - 1);
  return image;
}

TDraw3D::TDraw3D(GradientColors colors, QWidget* parent)
    : QWidget(parent), colors_(std::move(colors)) {
  // Every pixel comes from the kept image, so nothing is erased before it is copied.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::NoFocus);
}

void TDraw3D::Invalidate() {
  imageValid_ = false;
  update();
}

void TDraw3D::paintEvent(QPaintEvent*) {
  // The image is computed over the screen's own pixels, one band per physical row, so a
  // denser screen gets a finer gradient rather than a stretched one; a panel moved to a
  // screen of another density needs a new image.
  const qreal ratio = devicePixelRatioF();
  if (!imageValid_ || image_.devicePixelRatio() != ratio) {
    const QSize physical(qCeil(width() * ratio), qCeil(height() * ratio));
    image_ = PaintGradientPanel(physical, colors_, palette().color(QPalette::Light),
                                palette().color(QPalette::Dark));
    image_.setDevicePixelRatio(ratio);
    imageValid_ = true;
  }
  QPainter painter(this);
  painter.drawImage(QPointF(0, 0), image_);
}

void TDraw3D::changeEvent(QEvent* event) {
  // The bevel takes the palette's colours, so a new colour scheme needs a new image.
  if (event->type() == QEvent::PaletteChange) Invalidate();
  QWidget::changeEvent(event);
}

void TDraw3D::resizeEvent(QResizeEvent* event) {
  Invalidate();
  QWidget::resizeEvent(event);
}

}  // namespace norvalde::window
