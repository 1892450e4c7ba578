#include "app/folder_list.h"

#include <QPainter>
#include <QStyledItemDelegate>
#include <algorithm>

#include "app/folder_rows.h"
#include "app/pictures.h"
#include "core/error.h"
#include "platform/current_folder.h"
#include "platform/paths.h"
#include "platform/system_errors.h"

namespace norvalde::window {
namespace {

constexpr int kRowHeight = 16;
constexpr int kIconToText = 4;
constexpr int kIconLeftRole = Qt::UserRole;
constexpr int kIconRole = Qt::UserRole + 1;
constexpr int kPathRole = Qt::UserRole + 2;

// Draws a row as the folder list shows it: the icon at the row's indentation, centred in the
// 16-pixel row, and the name 4 pixels after it at the top of the row.
class FolderRowDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), kRowHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int iconLeft = index.data(kIconLeftRole).toInt();
    const QPixmap icon = FolderPicture(static_cast<FolderIcon>(index.data(kIconRole).toInt()));
    const QString text = index.data(Qt::DisplayRole).toString();
    const QRect row = option.rect;
    const int textLeft = row.left() + iconLeft + icon.width() + kIconToText;
    const int textWidth = option.fontMetrics.horizontalAdvance(text) + 2;
    painter->drawPixmap(row.left() + iconLeft, row.top() + (row.height() - icon.height()) / 2,
                        icon);
    const QRect textRect(textLeft, row.top(), textWidth, row.height());
    const bool selected = option.state & QStyle::State_Selected;
    if (selected) painter->fillRect(textRect, option.palette.color(QPalette::Highlight));
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(textRect.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
  }
};

}  // namespace

TDirectoryListBox::TDirectoryListBox(QWidget* parent) : QListWidget(parent) {
  setItemDelegate(new FolderRowDelegate(this));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  // Rows open by double-click only; the key that would open them (Enter) belongs to the
  // window's default button.
  setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void TDirectoryListBox::ShowCurrentFolder() {
  directory_ = platform::CurrentFolder();
  Rebuild();
  emit DirectoryChanged();
}

void TDirectoryListBox::OpenFolder(const std::string& path) {
  if (const int error = platform::ChangeCurrentFolder(path); error != 0) {
    throw Error(platform::InOutErrorMessage(platform::RuntimeErrorCode(error)));
  }
  ShowCurrentFolder();
}

void TDirectoryListBox::OpenRow(int row) {
  if (QListWidgetItem* rowItem = item(row)) {
    OpenFolder(rowItem->data(kPathRole).toByteArray().toStdString());
  }
}

void TDirectoryListBox::Rebuild() {
  // Sorted by the names shown, case ignored; names shown alike keep their bytes' order.
  std::vector<std::string> subfolders = platform::ListSubfolders(directory_);
  std::sort(subfolders.begin(), subfolders.end(), [](const std::string& a, const std::string& b) {
    const int order = ShownName(a).compare(ShownName(b), Qt::CaseInsensitive);
    return order != 0 ? order < 0 : a < b;
  });
  clear();
  for (const FolderRow& row : FolderRows(directory_, subfolders, platform::kPathSeparator)) {
    auto* rowItem = new QListWidgetItem(row.text, this);
    rowItem->setData(kIconLeftRole, row.iconLeft);
    rowItem->setData(kIconRole, static_cast<int>(row.icon));
    rowItem->setData(kPathRole, QByteArray::fromStdString(row.path));
    if (row.icon == FolderIcon::kCurrent) setCurrentItem(rowItem);
  }
}

}  // namespace norvalde::window
