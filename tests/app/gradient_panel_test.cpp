// The gradient panels' pixels, from the arithmetic and from the widget on screen.
#include <QApplication>
#include <QTest>

#include "app/gradient_panel.h"

using namespace norvalde::window;

namespace {

const QColor kLight(1, 2, 3);
const QColor kDark(4, 5, 6);

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

}  // namespace

class GradientPanelTest : public QObject {
  Q_OBJECT

  // The upper panel of the window, shown in a window of its own.
  TDraw3D* ShowTopPanel(QWidget& window) {
    window.resize(400, 200);
    auto* panel = new TDraw3D(TopPanelColors(), &window);
    panel->setGeometry(1, 0, 315, 169);
    window.show();
    return QTest::qWaitForWindowExposed(&window) ? panel : nullptr;
  }

 private slots:
  void pixels_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("bottomPanel");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("color");
    const QSize top(315, 169);
    const QSize bottom(633, 241);
    QTest::newRow("top, upper half") << top << false << QPoint(10, 42) << QColor(255, 247, 238);
    QTest::newRow("top, last upper row") << top << false << QPoint(10, 83) << QColor(Qt::white);
    QTest::newRow("top, first lower row") << top << false << QPoint(10, 84) << QColor(Qt::white);
    QTest::newRow("top, lower half") << top << false << QPoint(10, 126) << QColor(252, 233, 190);
    QTest::newRow("top, above the bevel") << top << false << QPoint(10, 167)
                                          << QColor(249, 212, 127);
    QTest::newRow("bottom, row 42") << bottom << true << QPoint(10, 42) << QColor(205, 225, 238);
    QTest::newRow("bottom, lowest visible")
        << bottom << true << QPoint(10, 210) << QColor(197, 214, 254);
    QTest::newRow("bevel top") << top << false << QPoint(10, 0) << kLight;
    QTest::newRow("bevel left") << top << false << QPoint(0, 100) << kLight;
    QTest::newRow("bevel right") << top << false << QPoint(314, 100) << kDark;
    QTest::newRow("bevel bottom") << top << false << QPoint(10, 168) << kDark;
    QTest::newRow("top-left corner") << top << false << QPoint(0, 0) << kLight;
    QTest::newRow("top-right corner") << top << false << QPoint(314, 0) << kDark;
    QTest::newRow("bottom-left corner") << top << false << QPoint(0, 168) << kDark;
    QTest::newRow("left above the corner") << top << false << QPoint(0, 167) << kLight;
  }
  void pixels() {
    QFETCH(QSize, size);
    QFETCH(bool, bottomPanel);
    QFETCH(QPoint, pixel);
    QFETCH(QColor, color);
    const QImage image = PaintGradientPanel(
        size, bottomPanel ? BottomPanelColors() : TopPanelColors(), kLight, kDark);
    QCOMPARE(At(image, pixel.x(), pixel.y()), color);
  }

  void tallPanelUsesAtMost256Bands() {
    // 600 rows per half: bands span two or three rows, and the ends keep their colours.
    const GradientColors colors{QColor(0, 0, 0), QColor(255, 255, 255), QColor(0, 0, 0)};
    const QImage image = PaintGradientPanel(QSize(20, 1200), colors, kLight, kDark);
    QCOMPARE(At(image, 10, 1), QColor(0, 0, 0));
    QCOMPARE(At(image, 10, 599), QColor(255, 255, 255));
    QCOMPARE(At(image, 10, 600), QColor(255, 255, 255));
    QCOMPARE(At(image, 10, 1198), QColor(0, 0, 0));
    QSet<QRgb> upperBands;
    for (int y = 1; y < 600; ++y) upperBands.insert(image.pixel(10, y));
    QCOMPARE(upperBands.size(), 256);
  }

  void widgetShowsItsImageAndFollowsThePalette() {
    QWidget window;
    TDraw3D* panel = ShowTopPanel(window);
    QVERIFY(panel != nullptr);
    QImage shown = panel->grab().toImage();
    QCOMPARE(At(shown, 10, 42), QColor(255, 247, 238));
    QCOMPARE(At(shown, 10, 126), QColor(252, 233, 190));
    QCOMPARE(At(shown, 0, 50), panel->palette().color(QPalette::Light));

    // A new colour scheme must reach the bevel, although the image is kept between paints.
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Light, QColor(200, 0, 0));
    palette.setColor(QPalette::Dark, QColor(0, 0, 200));
    panel->setPalette(palette);
    shown = panel->grab().toImage();
    QCOMPARE(At(shown, 0, 50), QColor(200, 0, 0));
    QCOMPARE(At(shown, 314, 50), QColor(0, 0, 200));
    QCOMPARE(At(shown, 10, 42), QColor(255, 247, 238));
  }

  // Run by CTest a second time with QT_SCALE_FACTOR=2: the panel's 169 rows cover 338 screen
  // rows, and each half of 169 screen rows has a band of its own per row (row 0 is the bevel).
  void screenRowsAtTwiceTheDensity_data() {
    if (qApp->devicePixelRatio() != 2) QSKIP("for the run with QT_SCALE_FACTOR=2");
    QTest::addColumn<int>("row");
    QTest::addColumn<QColor>("color");
    QTest::newRow("top, EndColor") << 1 << QColor(255, 238, 221);
    QTest::newRow("middle of the upper half") << 84 << QColor(255, 246, 238);
    QTest::newRow("last upper row") << 168 << QColor(Qt::white);
    QTest::newRow("first lower row") << 169 << QColor(Qt::white);
    QTest::newRow("above the bevel") << 336 << QColor(249, 211, 126);
  }
  void screenRowsAtTwiceTheDensity() {
    QFETCH(int, row);
    QFETCH(QColor, color);
    QWidget window;
    TDraw3D* panel = ShowTopPanel(window);
    QVERIFY(panel != nullptr);
    const QImage shown = panel->grab().toImage();
    QCOMPARE(shown.size(), QSize(630, 338));
    QCOMPARE(At(shown, 20, row), color);
  }
};

QTEST_MAIN(GradientPanelTest)
#include "gradient_panel_test.moc"
