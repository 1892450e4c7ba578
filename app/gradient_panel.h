// The gradient panel: a vertical three-colour gradient over the whole panel and a one-pixel
// raised bevel, painted into an off-screen image that is kept and copied on every repaint.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

namespace norvalde::window {

struct GradientColors {
  QColor start;  // the bottom edge
  QColor mid;    // the middle rows
  QColor end;    // the top edge
};

// The bottom panel's and the two top panels' colours.
GradientColors BottomPanelColors();
GradientColors TopPanelColors();

// The panel's pixels, `size` counted in the screen's physical pixels: the upper half (H / 2
// rows) fades from `end` at the top to `mid`, the lower half from `mid` to `start` at the
// bottom, one band per row up to 256 rows; then the left and top edges in `light` and the
// right and bottom edges in `dark`, one pixel wide.
QImage PaintGradientPanel(QSize size, const GradientColors& colors, QColor light, QColor dark);

class TDraw3D : public QWidget {
  Q_OBJECT
 public:
  TDraw3D(GradientColors colors, QWidget* parent);
  // Marks the kept image as stale and repaints the whole panel.
  void Invalidate();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  GradientColors colors_;
  QImage image_;
  bool imageValid_ = false;
};

}  // namespace norvalde::window
