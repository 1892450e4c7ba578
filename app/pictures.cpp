#include "app/pictures.h"

#include <QPainter>
#include <QPainterPath>

namespace norvalde::window {
namespace {

QPixmap Blank(int width, int height) {
  QPixmap picture(width, height);
  picture.fill(Qt::transparent);
  return picture;
}

const QColor kGreen(0, 128, 0);
const QColor kFolderYellow(255, 221, 102);
const QColor kFolderEdge(153, 119, 0);

void DrawFolderBody(QPainter& painter, bool open) {
  painter.setPen(kFolderEdge);
  painter.setBrush(kFolderYellow);
  painter.drawRect(1, 3, 6, 2);  // the tab
  painter.drawRect(1, 4, 13, 9);
  if (open) {
    // The open lid, tilted forward over the body.
    QPolygon lid;
    lid << QPoint(3, 7) << QPoint(15, 7) << QPoint(13, 13) << QPoint(1, 13);
    painter.setBrush(QColor(255, 238, 170));
    painter.drawPolygon(lid);
  }
}

}  // namespace

QPixmap OkGlyph() {
  QPixmap picture = Blank(18, 18);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  QPainterPath check;
  check.moveTo(3, 9);
  check.lineTo(7, 14);
  check.lineTo(15, 3);
  painter.drawPath(check);
  return picture;
}

QPixmap CloseGlyph() {
  QPixmap picture = Blank(18, 18);
  QPainter painter(&picture);
  // The green sign above the door.
  painter.fillRect(4, 0, 10, 4, kGreen);
  painter.fillRect(6, 1, 6, 2, QColor(160, 255, 160));
  // The door frame and the dark opening.
  painter.setPen(QColor(64, 64, 64));
  painter.setBrush(QColor(32, 32, 32));
  painter.drawRect(4, 5, 9, 12);
  // The door leaf, swung open towards the viewer.
  QPolygon leaf;
  leaf << QPoint(4, 5) << QPoint(9, 7) << QPoint(9, 17) << QPoint(4, 17);
  painter.setBrush(QColor(176, 112, 48));
  painter.drawPolygon(leaf);
  painter.fillRect(7, 11, 1, 2, QColor(255, 215, 0));  // the handle
  return picture;
}

QPixmap FolderPicture(FolderIcon icon) {
  QPixmap picture = Blank(16, 15);
  QPainter painter(&picture);
  DrawFolderBody(painter, icon != FolderIcon::kClosed);
  if (icon == FolderIcon::kCurrent) {
    // A sheet of paper in the open folder marks the folder that is open now.
    painter.setPen(QColor(96, 96, 96));
    painter.setBrush(Qt::white);
    painter.drawRect(5, 1, 7, 7);
    painter.setPen(QColor(0, 0, 160));
    painter.drawLine(6, 3, 10, 3);
    painter.drawLine(6, 5, 10, 5);
  }
  return picture;
}

QPixmap DrivePicture(DriveIcon icon) {
  QPixmap picture = Blank(16, 11);
  QPainter painter(&picture);
  painter.setPen(QColor(64, 64, 64));
  switch (icon) {
    case DriveIcon::kRemovable:
      painter.setBrush(QColor(48, 48, 128));
      painter.drawRect(3, 0, 10, 10);
      painter.fillRect(5, 1, 6, 3, QColor(192, 192, 192));
      painter.fillRect(5, 6, 6, 4, Qt::white);
      break;
    case DriveIcon::kFixed:
    case DriveIcon::kNetwork:
      painter.setBrush(QColor(192, 192, 192));
      painter.drawRect(0, 3, 15, 6);
      painter.fillRect(12, 6, 2, 1, kGreen);  // the activity light
      if (icon == DriveIcon::kNetwork) {
        painter.drawLine(7, 0, 7, 3);  // the cable
        painter.drawLine(2, 0, 13, 0);
      }
      break;
    case DriveIcon::kCdRom:
      painter.setBrush(QColor(220, 220, 240));
      painter.drawEllipse(2, 0, 11, 10);
      painter.setBrush(Qt::white);
      painter.drawEllipse(6, 4, 3, 3);
      break;
    case DriveIcon::kRamDisk:
      painter.setBrush(kGreen);
      painter.drawRect(0, 2, 15, 6);
      for (int x = 2; x < 14; x += 3) painter.fillRect(x, 3, 2, 3, Qt::black);
      for (int x = 1; x < 15; x += 2) painter.drawPoint(x, 9);  // the pins
      break;
  }
  return picture;
}

}  // namespace norvalde::window
