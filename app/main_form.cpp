#include "app/main_form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QScreen>
#include <exception>
#include <utility>

#include "app/box_texts.h"
#include "app/folder_label.h"
#include "app/folder_rows.h"
#include "app/pictures.h"
#include "export/export.h"
#include "import/import.h"
#include "platform/decimal_separator.h"
#include "platform/paths.h"

namespace norvalde::window {
namespace {

constexpr int kFolderLabelWidth = 287;  // the folder list's width
const QColor kFolderControlsBackground(240, 251, 255);

QFont WindowFont(bool bold) {
  // Where MS Sans Serif is missing (off Windows), Liberation Sans: at 11 pixels its widths are
  // within a few percent of MS Sans Serif's, and it has a true bold.
  QFont font;
  font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans")});
  font.setPixelSize(11);
  font.setBold(bold);
  return font;
}

QLabel* RedLabel(const QString& text, QWidget* parent, QPoint position) {
  auto* label = new QLabel(text, parent);
  label->setFont(WindowFont(true));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
  label->setPalette(palette);
  // The window's background role is the button face, which children inherit; the text still
  // takes the window-text colour.
  label->setForegroundRole(QPalette::WindowText);
  label->move(position);
  label->adjustSize();
  return label;
}

QLabel* PanelTitle(const QString& text, QWidget* parent, QRect geometry) {
  auto* label = new QLabel(text, parent);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(16);
  font.setBold(true);
  label->setFont(font);
  label->setForegroundRole(QPalette::WindowText);
  label->setWordWrap(true);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(geometry);
  return label;
}

void SetFolderControlLook(QWidget* control) {
  QPalette palette = control->palette();
  palette.setColor(QPalette::Base, kFolderControlsBackground);
  control->setPalette(palette);
  control->setProperty("helpTopic", kFolderHelpTopic);
}

}  // namespace

TMForm::TMForm(platform::Env& env, std::string workFolder, WindowMessages& boxes,
               QWidget* parent)
    : QWidget(parent),
      Tables(env, platform::UserDecimalSeparator()),
      env_(env),
      workFolder_(std::move(workFolder)),
      boxes_(boxes),
      messages_(boxes) {
  setObjectName(QStringLiteral("MForm"));
  setWindowTitle(QStringLiteral("Exportar e importar datos entre Plantivo y ROVA"));
  setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setFixedSize(632, 379);
  setFont(WindowFont(false));
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  setProperty("helpTopic", kWindowHelpTopic);

  CreateControls();
  LinkFolderControls();
  SetUpKeyboard();
  DescribeControls();
  FormCreate();
}

TMForm::~TMForm() {
  // The controls are released after this body, and losing the focus to them would otherwise
  // reach a window that is no longer whole.
  disconnect(focusTracking_);
}

void TMForm::CreateControls() {
  // Created in layout order: a panel created later lies above an earlier one where they meet.
  Draw3D1 = new TDraw3D(BottomPanelColors(), this);
  Draw3D1->setGeometry(0, 168, 633, 241);
  Label1 = RedLabel(QStringLiteral("Norvalde V-1.3"), Draw3D1, {456, 184});
  Label2 = RedLabel(QString(), Draw3D1, {8, 5});
  BClose = new TBitBtn(QStringLiteral("&Salir"), CloseGlyph(), Draw3D1);
  BClose->setGeometry(464, 144, 89, 25);
  Directorios = new TDirectoryListBox(Draw3D1);
  Directorios->setGeometry(6, 21, 287, 160);
  SetFolderControlLook(Directorios);
  Unidades = new TDriveComboBox(Draw3D1);
  Unidades->setGeometry(8, 182, 137, 19);
  SetFolderControlLook(Unidades);

  Draw3D2 = new TDraw3D(TopPanelColors(), this);
  Draw3D2->setGeometry(1, 0, 315, 169);
  Label3 = PanelTitle(QStringLiteral("Transformar datos desde ROVA hacia Plantivo "), Draw3D2,
                      {24, 24, 265, 57});
  BExportar = new TBitBtn(QStringLiteral("Aceptar"), OkGlyph(), Draw3D2);
  BExportar->setGeometry(96, 120, 89, 25);

  Draw3D3 = new TDraw3D(TopPanelColors(), this);
  Draw3D3->setGeometry(316, 0, 317, 169);
  Label4 = PanelTitle(QStringLiteral("Transformar datos desde Plantivo hacia ROVA"), Draw3D3,
                      {8, 24, 305, 57});
  BImportar = new TBitBtn(QStringLiteral("Aceptar"), OkGlyph(), Draw3D3);
  BImportar->setGeometry(96, 120, 89, 25);

  connect(BExportar, &QPushButton::clicked, this, &TMForm::BExportarClick);
  connect(BImportar, &QPushButton::clicked, this, &TMForm::BImportarClick);
  connect(BClose, &QPushButton::clicked, this, &QWidget::close);
}

void TMForm::LinkFolderControls() {
  connect(Directorios, &TDirectoryListBox::DirectoryChanged, this, [this] {
    ShowFolderInLabel(ShownName(Directorios->Directory()));
    Unidades->ShowDriveOf(Directorios->Directory());
  });
  connect(Directorios, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int row = Directorios->row(item);
    RunGuarded([this, row] { Directorios->OpenRow(row); });
  });
  connect(Unidades, &QComboBox::activated, this, &TMForm::ChooseDrive);
  Unidades->SetDrives(AvailableDrives());
  Directorios->ShowCurrentFolder();
}

void TMForm::SetUpKeyboard() {
  setTabOrder(BClose, Directorios);
  setTabOrder(Directorios, Unidades);
  setTabOrder(Unidades, BExportar);
  setTabOrder(BExportar, BImportar);
  for (QWidget* control : {static_cast<QWidget*>(BClose), static_cast<QWidget*>(Directorios),
                           static_cast<QWidget*>(Unidades), static_cast<QWidget*>(BExportar),
                           static_cast<QWidget*>(BImportar)}) {
    control->installEventFilter(this);
  }
  focusTracking_ = connect(qApp, &QApplication::focusChanged, this,
                           [this](QWidget*, QWidget* now) { ShowDefaultFrames(now); });
  BClose->setFocus();
}

void TMForm::DescribeControls() {
  // A caption ties itself to its button; the folder label is not made a buddy, because a
  // buddy label would take an "&" in a folder's name for an access key and hide it.
  Label3->setBuddy(BExportar);
  Label4->setBuddy(BImportar);
  BExportar->setAccessibleDescription(Label3->text().trimmed());
  BImportar->setAccessibleDescription(Label4->text().trimmed());
  BClose->setAccessibleDescription(QStringLiteral("Cierra la ventana y termina el programa"));
  Unidades->setAccessibleName(QStringLiteral("Unidad"));
  Unidades->setAccessibleDescription(QStringLiteral("Elección de la unidad"));
  // Connected after the folder label's own update, so it reads the label's new text.
  const auto describeFolderList = [this] {
    Directorios->setAccessibleName(Label2->text());
    Directorios->setAccessibleDescription(QStringLiteral("Carpeta abierta: ") +
                                          QDir::toNativeSeparators(ShownName(Directorios->Directory())));
  };
  connect(Directorios, &TDirectoryListBox::DirectoryChanged, this, describeFolderList);
  describeFolderList();
}

void TMForm::FormCreate() {}

void TMForm::FormClose() {}

void TMForm::closeEvent(QCloseEvent* event) {
  FormClose();
  QWidget::closeEvent(event);
}

void TMForm::showEvent(QShowEvent* event) {
  if (!centred_ && screen() != nullptr) {
    centred_ = true;
    QRect frame = frameGeometry();
    frame.moveCenter(screen()->availableGeometry().center());
    move(frame.topLeft());
  }
  QWidget::showEvent(event);
}

template <typename Step>
void TMForm::RunGuarded(Step&& step) {
  // Every failure ends here, inside the event handler that started it; none may reach the
  // Qt event loop. norvalde::Error and the standard library's errors alike are shown.
  try {
    step();
  } catch (const std::exception& error) {
    boxes_.ShowError(ErrorBoxText(error.what()));
  }
}

bool TMForm::StartAction() {
  Carpeta = Directorios->Directory() + platform::kPathSeparator;
  if (!env_.FolderExists(Carpeta)) {
    boxes_.ShowMessage("No existe la carpeta");
    return false;
  }
  return true;
}

// The hourglass, the steps and the closing message are the actions' own, as in every test.
void TMForm::BExportarClick() {
  RunGuarded([this] {
    if (StartAction()) exporting::RunExport({env_, Carpeta, workFolder_, messages_});
  });
}

void TMForm::BImportarClick() {
  RunGuarded([this] {
    if (StartAction()) importing::RunImport({env_, Carpeta, workFolder_, messages_}, Tables);
  });
}

void TMForm::ShowFolderInLabel(const QString& folder) {
  const QFontMetrics metrics(Label2->font());
  Label2->setText(ShortenFolderPath(
      folder, kFolderLabelWidth, [&](const QString& text) { return metrics.horizontalAdvance(text); },
      platform::kPathSeparator));
  Label2->adjustSize();
}

void TMForm::ChooseDrive() {
  const QString root = Unidades->SelectedRoot();
  if (root == DriveOf(Directorios->Directory())) return;
  // When the drive cannot be entered the box keeps the new choice while the list stays.
  RunGuarded([this, &root] { Directorios->OpenFolder(root.toStdString()); });
}

bool TMForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool isButton = watched == BClose || watched == BExportar || watched == BImportar;
  const bool plain = key->modifiers() == Qt::NoModifier || key->modifiers() == Qt::KeypadModifier;

  if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !isButton) {
    // Both OK buttons are default buttons and BExportar is asked first.
    BExportar->click();
    return true;
  }
  if (isButton && plain) {
    switch (key->key()) {
      case Qt::Key_Right:
      case Qt::Key_Down:
        MoveFocusInPanel(static_cast<QWidget*>(watched), true);
        return true;
      case Qt::Key_Left:
      case Qt::Key_Up:
        MoveFocusInPanel(static_cast<QWidget*>(watched), false);
        return true;
      case Qt::Key_S:  // the access key of "&Salir" works without Alt on a button
        BClose->click();
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TMForm::MoveFocusInPanel(QWidget* from, bool forward) {
  // The controls of the same panel that take the focus, in tab order, wrapping at the ends.
  QList<QWidget*> panelControls;
  QWidget* candidate = from;
  do {
    if (candidate->parentWidget() == from->parentWidget() &&
        (candidate->focusPolicy() & Qt::TabFocus) && candidate->isEnabled()) {
      panelControls << candidate;
    }
    candidate = candidate->nextInFocusChain();
  } while (candidate != from);
  if (panelControls.size() < 2) return;
  QWidget* target = forward ? panelControls[1] : panelControls.last();
  target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void TMForm::ShowDefaultFrames(QWidget* focused) {
  if (focused == BClose || focused == BExportar || focused == BImportar) {
    for (TBitBtn* button : {BClose, BExportar, BImportar}) button->setDefault(button == focused);
  } else if (focused == Directorios || focused == Unidades) {
    BClose->setDefault(false);
    BExportar->setDefault(true);
    BImportar->setDefault(true);
  }
}

}  // namespace norvalde::window
