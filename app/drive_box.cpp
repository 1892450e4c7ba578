#include "app/drive_box.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <QStylePainter>

#include "app/pictures.h"

namespace norvalde::window {
namespace {

constexpr int kIconLeft = 2;
constexpr int kTextLeft = 22;  // the icon's width and 6 pixels
constexpr int kIconRole = Qt::UserRole;
constexpr int kRootRole = Qt::UserRole + 1;

// The drive's icon 2 pixels from the left and its text from 22 pixels on, both centred
// vertically.
void PaintEntry(QPainter& painter, const QRect& rect, const QModelIndex& index) {
  const QPixmap icon = DrivePicture(static_cast<DriveIcon>(index.data(kIconRole).toInt()));
  painter.drawPixmap(rect.left() + kIconLeft, rect.top() + (rect.height() - icon.height()) / 2,
                     icon);
  painter.drawText(rect.adjusted(kTextLeft, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                   index.data(Qt::DisplayRole).toString());
}

class DriveEntryDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const bool selected = option.state & QStyle::State_Selected;
    painter->fillRect(option.rect, option.palette.color(selected ? QPalette::Highlight
                                                                 : QPalette::Base));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    PaintEntry(*painter, option.rect, index);
  }
};

}  // namespace

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setItemDelegate(new DriveEntryDelegate(this));
}

void TDriveComboBox::SetDrives(const std::vector<Drive>& drives) {
  clear();
  for (const Drive& entry : drives) {
    addItem(entry.text);
    setItemData(count() - 1, static_cast<int>(entry.icon), kIconRole);
    setItemData(count() - 1, entry.root, kRootRole);
  }
}

void TDriveComboBox::ShowDriveOf(const std::string& folder) {
  setCurrentIndex(findData(DriveOf(folder), kRootRole));
}

QString TDriveComboBox::SelectedRoot() const { return currentData(kRootRole).toString(); }

void TDriveComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  if (currentIndex() < 0) return;
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  painter.setPen(palette().color(QPalette::Text));
  PaintEntry(painter, field, model()->index(currentIndex(), modelColumn(), rootModelIndex()));
}

}  // namespace norvalde::window
