// The main window: layout, keyboard, the folder controls and both actions, with the message
// and error boxes answered by a recorder in place of the modal boxes.
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <filesystem>
#include <memory>

#include "app/main_form.h"
#include "platform/env.h"
#include "tables/table.h"
#include "tests/support/fixed_clock_env.h"

using namespace norvalde::window;

namespace {

struct Shown {
  bool error;
  std::string text;
  bool busyCursor;  // the hourglass was showing over the box
  bool operator==(const Shown&) const = default;
};

class RecordingBoxes : public WindowMessages {
 public:
  void ShowMessage(const std::string& text) override { Record(false, text); }
  void ShowError(const std::string& text) override { Record(true, text); }
  std::vector<Shown> shown;

 private:
  void Record(bool error, const std::string& text) {
    const QCursor* cursor = QApplication::overrideCursor();
    shown.push_back({error, text, cursor != nullptr && cursor->shape() == Qt::WaitCursor});
  }
};

char* toString(const Shown& shown) {
  return QTest::toString(QString("%1 \"%2\"%3")
                             .arg(shown.error ? "error" : "message")
                             .arg(QString::fromStdString(shown.text))
                             .arg(shown.busyCursor ? " (hourglass)" : ""));
}

const char* const kRovaFiles[] = {
    "rova_asignat.txt",      "rova_prof.txt",         "rova_aulas.txt",   "rova_grupo.txt",
    "rova_asignatgrupo.txt", "rova_asignatcurso.txt", "rova_sesiones.txt"};

void CopySamples(const QString& folder, const QString& except = {}) {
  for (const char* name : kRovaFiles) {
    if (name == except) continue;
    QVERIFY(QFile::copy(QString(NORVALDE_SAMPLES_DIR) + "/" + name, folder + "/" + name));
  }
}

// The bytes of the six tables in `folder`.
QList<QByteArray> TableBytes(const QString& folder) {
  QList<QByteArray> tables;
  for (const char* name : {"ASIGNOMT", "PROFT", "AULAT", "GRUPOST", "ASIGT", "DIASHORAST"}) {
    QFile file(folder + "/" + name + ".DBF");
    tables << (file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>"));
  }
  return tables;
}

}  // namespace

class MainFormTest : public QObject {
  Q_OBJECT

 private:
  // A window started in `startFolder` (the temporary folder when empty) with the work tables
  // in `workFolder`.
  std::unique_ptr<TMForm> MakeForm(const QString& startFolder = {}, QString workFolder = {}) {
    QDir::setCurrent(startFolder.isEmpty() ? folder_->path() : startFolder);
    if (workFolder.isEmpty()) workFolder = work_->path();
    return std::make_unique<TMForm>(clock_, workFolder.toStdString(), boxes_);
  }

  static void ShowActive(TMForm& form) {
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
  }

  static int RowOf(const TMForm& form, const QString& text) {
    const auto items = form.Directorios->findItems(text, Qt::MatchExactly);
    return items.isEmpty() ? -1 : form.Directorios->row(items.first());
  }

  static void DoubleClickRow(TMForm& form, int row) {
    QListWidget* list = form.Directorios;
    const QPoint centre = list->visualItemRect(list->item(row)).center();
    // The press before the double-click picks the row, as a real first click does.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
  }

  RecordingBoxes boxes_;
  norvalde::testing::FixedClockEnv clock_;
  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<QTemporaryDir> work_;
  QString startDirectory_;

 private slots:
  void init() {
    startDirectory_ = QDir::currentPath();
    folder_ = std::make_unique<QTemporaryDir>();
    work_ = std::make_unique<QTemporaryDir>();
    boxes_.shown.clear();
  }
  void cleanup() {
    QDir::setCurrent(startDirectory_);
    RestoreBusyCursor();
  }

  // Each control's place in the window; no two controls share one, so a failure names it.
  void layout() {
    auto form = MakeForm();
    const std::pair<QWidget*, QRect> controls[] = {
        {form->Draw3D1, QRect(0, 168, 633, 241)},     {form->BClose, QRect(464, 312, 89, 25)},
        {form->Directorios, QRect(6, 189, 287, 160)}, {form->Unidades, QRect(8, 350, 137, 19)},
        {form->Draw3D2, QRect(1, 0, 315, 169)},       {form->Label3, QRect(25, 24, 265, 57)},
        {form->BExportar, QRect(97, 120, 89, 25)},    {form->Draw3D3, QRect(316, 0, 317, 169)},
        {form->Label4, QRect(324, 24, 305, 57)},      {form->BImportar, QRect(412, 120, 89, 25)}};
    for (const auto& [control, inWindow] : controls) {
      QCOMPARE(QRect(control->mapTo(form.get(), QPoint(0, 0)), control->size()), inWindow);
    }
  }

  void windowAndCaptions() {
    auto form = MakeForm();
    QCOMPARE(form->objectName(), QString("MForm"));
    QCOMPARE(form->windowTitle(), QString("Exportar e importar datos entre Plantivo y ROVA"));
    QCOMPARE(form->size(), QSize(632, 379));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(!(form->windowFlags() & Qt::WindowMinMaxButtonsHint));
    QCOMPARE(form->Label1->text(), QString("Norvalde V-1.3"));
    QCOMPARE(form->Label1->mapTo(form.get(), QPoint(0, 0)), QPoint(456, 352));
    QCOMPARE(form->Label2->mapTo(form.get(), QPoint(0, 0)), QPoint(8, 173));
    QCOMPARE(form->Label3->text(), QString("Transformar datos desde ROVA hacia Plantivo "));
    QCOMPARE(form->Label4->text(), QString("Transformar datos desde Plantivo hacia ROVA"));
    QCOMPARE(form->BExportar->text(), QString("Aceptar"));
    QCOMPARE(form->BImportar->text(), QString("Aceptar"));
    QCOMPARE(form->BClose->text(), QString("&Salir"));
    QCOMPARE(form->property("helpTopic").toInt(), 11350);
    QCOMPARE(form->Directorios->property("helpTopic").toInt(), 9010);
    QCOMPARE(form->Unidades->property("helpTopic").toInt(), 9010);
    QCOMPARE(form->Label2->text(), QDir::toNativeSeparators(folder_->path()));
    for (const QLabel* label : {form->Label1, form->Label2}) {
      QCOMPARE(label->palette().color(label->foregroundRole()), QColor(255, 0, 0));
    }
  }

  void tabOrderWrapsBothWays() {
    auto form = MakeForm();
    ShowActive(*form);
    const QList<QWidget*> order = {form->BClose, form->Directorios, form->Unidades,
                                   form->BExportar, form->BImportar};
    QCOMPARE(QApplication::focusWidget(), form->BClose);
    for (int step = 1; step <= order.size(); ++step) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), order[step % order.size()]);
    }
    for (int step = order.size() - 1; step >= 0; --step) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
      QCOMPARE(QApplication::focusWidget(), order[step]);
    }
  }

  void arrowsMoveWithinThePanel() {
    auto form = MakeForm();
    ShowActive(*form);
    QTest::keyClick(form->BClose, Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), form->Directorios);
    form->BClose->setFocus();
    QTest::keyClick(form->BClose, Qt::Key_Up);
    QCOMPARE(QApplication::focusWidget(), form->Unidades);
    // The upper panels hold one button each: the arrows leave the focus where it is.
    form->BExportar->setFocus();
    QTest::keyClick(form->BExportar, Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), form->BExportar);
  }

  void keysThatDoNothingOrClose_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("focus");  // on "list", on "button", or "" as at start-up
    QTest::addColumn<bool>("closes");
    QTest::newRow("Enter at start-up") << int(Qt::Key_Return) << int(Qt::NoModifier) << ""
                                       << true;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier) << "list" << false;
    QTest::newRow("Esc on a button") << int(Qt::Key_Escape) << int(Qt::NoModifier) << "button"
                                     << false;
    QTest::newRow("F1") << int(Qt::Key_F1) << int(Qt::NoModifier) << "list" << false;
    QTest::newRow("Alt+S") << int(Qt::Key_S) << int(Qt::AltModifier) << "list" << true;
    QTest::newRow("S on the list") << int(Qt::Key_S) << int(Qt::NoModifier) << "list" << false;
    QTest::newRow("S on a button") << int(Qt::Key_S) << int(Qt::NoModifier) << "button" << true;
  }
  void keysThatDoNothingOrClose() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, focus);
    QFETCH(bool, closes);
    auto form = MakeForm();
    ShowActive(*form);
    QWidget* target = focus == "button" ? static_cast<QWidget*>(form->BExportar)
                      : focus == "list" ? form->Directorios
                                        : QApplication::focusWidget();
    target->setFocus();
    QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    // An access key clicks its button a moment later, with the pressed look in between.
    if (closes) {
      QTRY_VERIFY(!form->isVisible());
    } else {
      QTest::qWait(200);
      QVERIFY(form->isVisible());
    }
    QVERIFY(boxes_.shown.empty());
  }

  void enterOnTheFolderControlsClicksBExportar_data() {
    QTest::addColumn<bool>("onDriveBox");
    QTest::newRow("folder list") << false;
    QTest::newRow("drive box") << true;
  }
  void enterOnTheFolderControlsClicksBExportar() {
    QFETCH(bool, onDriveBox);
    auto form = MakeForm();
    ShowActive(*form);
    QSignalSpy exported(form->BExportar, &QPushButton::clicked);
    QSignalSpy imported(form->BImportar, &QPushButton::clicked);
    QWidget* control = onDriveBox ? static_cast<QWidget*>(form->Unidades) : form->Directorios;
    control->setFocus();
    QVERIFY(form->BExportar->isDefault() && form->BImportar->isDefault());
    QTest::keyClick(control, Qt::Key_Return);
    QCOMPARE(exported.count(), 1);
    QCOMPARE(imported.count(), 0);
    QVERIFY(form->isVisible());
    // An empty folder: every conversion reports its missing file, then the run closes.
    QVERIFY(!boxes_.shown.empty());
    QCOMPARE(boxes_.shown.back(), (Shown{false, "Proceso finalizado", false}));
  }

  void vanishedFolderStopsBothActions() {
    const QString opened = folder_->filePath("ROVA");
    QVERIFY(QDir().mkdir(opened));
    auto form = MakeForm(opened);
    QVERIFY(QDir(opened).removeRecursively());
    form->BExportar->click();
    form->BImportar->click();
    const Shown missing{false, "No existe la carpeta", false};
    QCOMPARE(boxes_.shown, (std::vector<Shown>{missing, missing}));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(QDir(work_->path()).isEmpty());
  }

  void exportWithOneFileMissing() {
    CopySamples(folder_->path(), "rova_aulas.txt");
    auto form = MakeForm();
    form->BExportar->click();
    QCOMPARE(boxes_.shown,
             (std::vector<Shown>{{false, "No existe archivo de aulas (ROVA_AULAS.TXT)", true},
                                 {false, "Proceso finalizado", false}}));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(form->Carpeta, folder_->path().toStdString() + "/");
  }

  // What the timetable holds is the Import's own matter; here the window runs it twice.
  void importAfterExportWritesTheTimetable() {
    CopySamples(folder_->path());
    QVERIFY(QFile::copy(QString(NORVALDE_SAMPLES_DIR) + "/SOLUC.DBF",
                        work_->filePath("SOLUC.DBF")));
    auto form = MakeForm();
    form->BExportar->click();
    boxes_.shown.clear();

    // Twice: the window's table components serve one Import after another.
    for (int run = 0; run < 2; ++run) {
      form->BImportar->click();
      QCOMPARE(boxes_.shown.back(), (Shown{false, "Proceso Terminado", false}));
    }
    QCOMPARE(boxes_.shown.size(), size_t(2));
    QVERIFY(QFile::exists(folder_->filePath("ROVA_HORARIO.TXT")));
  }

  // The timetabler's work between two Exports (teachers and rooms set in ASIGT) is kept, byte
  // for byte, in the second Export's run folder; the ten newest run folders stay.
  void exportsKeepTheTablesTheyReplace() {
    using namespace norvalde::tables;
    CopySamples(folder_->path());
    auto form = MakeForm();
    clock_.SetNow({2026, 12, 10, 14, 32, 5});
    form->BExportar->click();
    const QList<QByteArray> exported = TableBytes(work_->path());
    Table asigt(norvalde::platform::Env::Default());
    asigt.Open(work_->path().toStdString(), "ASIGT", Sharing::kExclusive, Access::kReadWrite);
    asigt.Edit();  // the first row
    asigt.SetText("CPROF", "GAR");
    asigt.SetText("CAULA", "A101");
    asigt.Post();
    asigt.Close();
    const QList<QByteArray> edited = TableBytes(work_->path());
    QVERIFY(edited != exported && !edited.contains("<missing>"));
    const QDir keeping(work_->filePath("Copias de Norvalde"));
    QStringList newest;
    for (int second = 6; second < 17; ++second) {
      clock_.SetNow({2026, 12, 10, 14, 32, second});
      form->BExportar->click();
      QCOMPARE(boxes_.shown.back(), (Shown{false, "Proceso finalizado", false}));
      if (second == 6) QCOMPARE(TableBytes(keeping.filePath("2026-12-10 14.32.06")), edited);
      if (second > 6) newest << QString("2026-12-10 14.32.%1").arg(second, 2, 10, QChar('0'));
    }
    QCOMPARE(keeping.entryList(QDir::Dirs | QDir::NoDotAndDotDot), newest);
  }

  void aKeepingFolderThatCannotBeMadeStopsTheExport() {
    CopySamples(folder_->path());
    auto form = MakeForm();
    form->BExportar->click();
    const QList<QByteArray> before = TableBytes(work_->path());
    QVERIFY(QFile(work_->filePath("Copias de Norvalde")).open(QIODevice::WriteOnly));
    form->BExportar->click();
    QCOMPARE(boxes_.shown.back(),
             (Shown{true,
                    "No se puede crear la carpeta \"" +
                        work_->filePath("Copias de Norvalde").toStdString() +
                        "\": ya existe un archivo con ese nombre.",
                    true}));
    QCOMPARE(TableBytes(work_->path()), before);
  }

  void errorShowsTheErrorBoxAndLeavesTheHourglass() {
    CopySamples(folder_->path());
    const QString missingWork = work_->filePath("QTEMP");
    auto form = MakeForm({}, missingWork);
    form->BExportar->click();
    form->BImportar->click();
    QCOMPARE(boxes_.shown.size(), size_t(2));
    for (const Shown& shown : boxes_.shown) {
      QVERIFY(shown.error);
      QVERIFY(!shown.text.empty());
      QVERIFY(shown.busyCursor);
    }
    QVERIFY(QApplication::overrideCursor() != nullptr);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

    // A later action that runs to its end takes the hourglass away, however many are stacked.
    QVERIFY(QDir().mkdir(missingWork));
    boxes_.shown.clear();
    form->BExportar->click();
    QCOMPARE(boxes_.shown, (std::vector<Shown>{{false, "Proceso finalizado", false}}));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void doubleClickOpensAFolderAndTheActionsUseIt() {
    const QDir base(folder_->path());
    QVERIFY(base.mkpath("Centro/Envio/Lunes"));
    QVERIFY(base.mkpath("Centro/Envio/.oculta"));
    QVERIFY(base.mkpath("Centro/Datos"));
    auto form = MakeForm(base.filePath("Centro"));
    ShowActive(*form);

    DoubleClickRow(*form, RowOf(*form, "Envio"));
    const QString envio = base.filePath("Centro/Envio");
    QCOMPARE(form->Directorios->Directory(), envio.toStdString());
    QCOMPARE(QDir::currentPath(), envio);
    QCOMPARE(form->Label2->text(), envio);
    QCOMPARE(form->Directorios->count(), envio.count('/') + 2);  // root, ancestors, Lunes
    QCOMPARE(form->Directorios->item(form->Directorios->count() - 1)->text(), QString("Lunes"));

    // A single click only selects: the actions still use the opened folder.
    form->Directorios->setCurrentRow(RowOf(*form, "Lunes"));
    form->BImportar->click();
    QCOMPARE(form->Carpeta, envio.toStdString() + "/");

    // The ancestor row "Centro" opens Centro again.
    DoubleClickRow(*form, RowOf(*form, "Centro"));
    QCOMPARE(form->Directorios->Directory(), base.filePath("Centro").toStdString());
  }

  void folderThatCannotBeOpenedLeavesTheList() {
    const QDir base(folder_->path());
    QVERIFY(base.mkpath("Envio"));
    auto form = MakeForm();
    ShowActive(*form);
    QVERIFY(QDir(base.filePath("Envio")).removeRecursively());
    const QString label = form->Label2->text();
    const int rows = form->Directorios->count();
    DoubleClickRow(*form, RowOf(*form, "Envio"));
    QCOMPARE(boxes_.shown, (std::vector<Shown>{{true, "No se encuentra el archivo.", false}}));
    QCOMPARE(form->Directorios->Directory(), folder_->path().toStdString());
    QCOMPARE(form->Directorios->count(), rows);
    QCOMPARE(form->Label2->text(), label);
    QCOMPARE(QDir::currentPath(), folder_->path());
  }

  void choosingADrive() {
    const QString gone = folder_->filePath("sin-montar");
    const QString other = folder_->filePath("otra");
    QVERIFY(QDir().mkdir(other));
    auto form = MakeForm();
    ShowActive(*form);
    TDriveComboBox* drives = form->Unidades;
    const QString shownDrive = DriveOf(folder_->path().toStdString());
    drives->SetDrives({{shownDrive + " [sistema]", shownDrive, DriveIcon::kFixed},
                       {gone + " []", gone, DriveIcon::kRemovable},
                       {other + " [otra]", other, DriveIcon::kFixed}});
    drives->ShowDriveOf(form->Directorios->Directory());
    QCOMPARE(drives->currentIndex(), 0);
    drives->setFocus();

    // A drive that cannot be entered: the box keeps the choice, the list its folder.
    QTest::keyClick(drives, Qt::Key_Down);
    QCOMPARE(boxes_.shown, (std::vector<Shown>{{true, "No se encuentra el archivo.", false}}));
    QCOMPARE(drives->currentIndex(), 1);
    QCOMPARE(form->Directorios->Directory(), folder_->path().toStdString());
    QCOMPARE(QDir::currentPath(), folder_->path());

    QTest::keyClick(drives, Qt::Key_Down);
    QCOMPARE(form->Directorios->Directory(), other.toStdString());
    QCOMPARE(QDir::currentPath(), other);
    QCOMPARE(form->Label2->text(), other);

    // The drive that already holds the shown folder: nothing happens.
    drives->setCurrentIndex(0);
    emit drives->activated(0);
    QCOMPARE(form->Directorios->Directory(), other.toStdString());
    QCOMPARE(boxes_.shown.size(), size_t(1));
  }

  // Off Windows Liberation Sans, with Arial's metrics, stands in for Arial and MS Sans Serif,
  // so the captions break where they do on Windows.
  void fontsMeasureAsOnWindows_data() {
    QTest::addColumn<bool>("exportCaption");
    QTest::addColumn<QString>("firstLine");
    QTest::newRow("Label3") << true << "Transformar datos desde ROVA ";
    QTest::newRow("Label4") << false << "Transformar datos desde Plantivo hacia ";
  }
  void fontsMeasureAsOnWindows() {
    QFETCH(bool, exportCaption);
    QFETCH(QString, firstLine);
    auto form = MakeForm();
    const QLabel* caption = exportCaption ? form->Label3 : form->Label4;
    QTextLayout layout(caption->text(), caption->font());
    layout.setTextOption(QTextOption(caption->alignment()));
    layout.beginLayout();
    QTextLine line = layout.createLine();
    line.setLineWidth(caption->width());
    layout.endLayout();
    QCOMPARE(caption->text().left(line.textLength()), firstLine);
    QVERIFY(QStringList({"MS Sans Serif", "Liberation Sans"})
                .contains(QFontInfo(form->font()).family()));
  }

  // What a screen reader reads: the two "Aceptar" told apart by the captions that label them,
  // the drive box described as the drive choice (on Linux Qt names it by its entry).
  void screenReaderNamesAndDescriptions_data() {
    QTest::addColumn<int>("control");  // BExportar, BImportar, BClose, Unidades
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    QTest::addColumn<bool>("labelledByCaption");
    QTest::newRow("BExportar") << 0 << "Aceptar" << "Transformar datos desde ROVA hacia Plantivo"
                               << true;
    QTest::newRow("BImportar") << 1 << "Aceptar" << "Transformar datos desde Plantivo hacia ROVA"
                               << true;
    QTest::newRow("BClose") << 2 << "Salir" << "Cierra la ventana y termina el programa" << false;
    QTest::newRow("Unidades") << 3 << QString() << "Elección de la unidad" << false;
  }
  void screenReaderNamesAndDescriptions() {
    QFETCH(int, control);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QFETCH(bool, labelledByCaption);
    auto form = MakeForm();
    const QList<QWidget*> controls = {form->BExportar, form->BImportar, form->BClose,
                                      form->Unidades};
    QAccessibleInterface* readable = QAccessible::queryAccessibleInterface(controls[control]);
    if (!name.isEmpty()) QCOMPARE(readable->text(QAccessible::Name), name);
    QCOMPARE(readable->text(QAccessible::Description), description);
    const auto labels = readable->relations(QAccessible::Label);
    QCOMPARE(labels.size(), labelledByCaption ? 1 : 0);
    if (labelledByCaption) {
      QCOMPARE(labels[0].first->text(QAccessible::Name).trimmed(), description);
    }
  }

  void folderListNamedAfterTheOpenedFolder() {
    const QString deep = folder_->filePath("Centro de secundaria/Curso 2004-2005/Envio de datos");
    QVERIFY(QDir().mkpath(deep));
    auto form = MakeForm();
    form->Directorios->OpenFolder(deep.toStdString());
    QVERIFY(form->Label2->text() != deep);  // shortened to fit
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(form->Directorios);
    QCOMPARE(list->text(QAccessible::Name), form->Label2->text());
    QCOMPARE(list->text(QAccessible::Description),
             "Carpeta abierta: " + QDir::toNativeSeparators(deep));
  }
#ifndef _WIN32
  // A folder whose name is no UTF-8 (Latin-1 "Año" copied from an old disk), and one below it:
  // listed and shown with U+FFFD, kept byte for byte in Carpeta, and both actions work there.
  void folderNamedInLatin1() {
    namespace fs = std::filesystem;
    const std::string ano = folder_->path().toStdString() + "/A\xF1" "o";
    const std::string envio = ano + "/Envio";
    QVERIFY(fs::create_directories(envio));
    for (const std::string& target : {ano, envio}) {
      for (const char* name : kRovaFiles) {
        fs::copy_file(std::string(NORVALDE_SAMPLES_DIR) + "/" + name, target + "/" + name);
      }
    }
    fs::copy_file(std::string(NORVALDE_SAMPLES_DIR) + "/SOLUC.DBF",
                  work_->path().toStdString() + "/SOLUC.DBF");
    auto form = MakeForm();
    ShowActive(*form);
    const QString shown = QString::fromUtf8("A\uFFFD" "o");
    for (const std::string& opened : {ano, envio}) {
      const QString name = opened == ano ? shown : QString("Envio");
      DoubleClickRow(*form, RowOf(*form, name));
      QCOMPARE(form->Directorios->Directory(), opened);
      QVERIFY2(form->Label2->text().endsWith(name), qPrintable(form->Label2->text()));
      boxes_.shown.clear();
      form->BExportar->click();
      form->BImportar->click();
      QCOMPARE(form->Carpeta, opened + "/");
      QCOMPARE(boxes_.shown, (std::vector<Shown>{{false, "Proceso finalizado", false},
                                                 {false, "Proceso Terminado", false}}));
      QVERIFY(fs::exists(opened + "/ROVA_HORARIO.TXT"));
    }
    fs::remove_all(ano);  // QTemporaryDir leaves a name that is no UTF-8 behind
  }
#endif

  void rootFolder() {
    auto form = MakeForm("/");
    QCOMPARE(form->Directorios->item(0)->text(), QString("/"));
    QCOMPARE(form->Directorios->currentRow(), 0);
    QVERIFY(form->Unidades->currentIndex() >= 0);
    QCOMPARE(form->Unidades->itemText(0).left(3), QString("/ ["));
    form->BImportar->click();
    QCOMPARE(form->Carpeta, std::string("//"));
  }
};

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
