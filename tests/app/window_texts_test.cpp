// The window's texts: the application title, the two boxes' texts, the folder label's
// shortening and the folder list's rows.
#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTest>

#include "app/application_title.h"
#include "app/box_texts.h"
#include "app/folder_label.h"
#include "app/folder_rows.h"
#include "app/modal_boxes.h"

using namespace norvalde::window;

namespace {

struct ExpectedRow {
  QString text;
  QByteArray path;
  FolderIcon icon;
  int iconLeft;
};

}  // namespace

Q_DECLARE_METATYPE(std::vector<ExpectedRow>)

class WindowTextsTest : public QObject {
  Q_OBJECT
 private slots:
  void applicationTitle_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "/usr/local/bin/Norvalde" << "Norvalde";
    QTest::newRow("cut at first dot") << "C:\\Prog\\TRASPASO.nuevo.exe" << "Traspaso";
    QTest::newRow("first kept lower") << "/opt/nORVALDE" << "norvalde";
    QTest::newRow("accented") << "/opt/ÁRBOL.EXE" << "Árbol";
  }
  void applicationTitle() {
    QFETCH(QString, executable);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitle(executable), title);
  }

  void errorBoxText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Disco lleno" << "Disco lleno.";
    QTest::newRow("digit") << "Error de E/S 21" << "Error de E/S 21.";
    QTest::newRow("parenthesis") << "No existe (ASIGT.DBF)" << "No existe (ASIGT.DBF)";
    QTest::newRow("period") << "Fin del archivo." << "Fin del archivo.";
    QTest::newRow("comma, hyphen, space, !")
        << "a, b - c !" << "a, b - c !";
    QTest::newRow("slash is above the period") << "C:/" << "C:/.";
    QTest::newRow("accented letter") << "no es un valor entero válido"
                                     << "no es un valor entero válido.";
    QTest::newRow("empty") << "" << "";
  }
  void errorBoxText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(QString::fromStdString(ErrorBoxText(message.toStdString())), shown);
  }

  void clipboardTextLayout() {
    const QString hyphens(27, u'-');
    QCOMPARE(MessageBoxClipboardText("Norvalde", "Proceso finalizado", {"&Aceptar"}),
             hyphens + "\r\nNorvalde\r\n" + hyphens + "\r\nProceso finalizado\r\n" + hyphens +
                 "\r\nAceptar   \r\n" + hyphens + "\r\n");
  }

  void messageBoxHasOneAceptarButtonAndCopiesWithCtrlC() {
    AceptarMessageBox box("Norvalde", "No existe la carpeta");
    QCOMPARE(box.icon(), QMessageBox::NoIcon);
    QCOMPARE(box.buttons().size(), 1);
    QCOMPARE(box.buttons().first()->text(), QString("Aceptar"));
    QCOMPARE(box.defaultButton(), box.buttons().first());
    QCOMPARE(box.escapeButton(), box.buttons().first());

    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(&box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(),
             MessageBoxClipboardText("Norvalde", "No existe la carpeta", {"Aceptar"}));
    QVERIFY(box.isVisible());
    QTest::keyClick(&box, Qt::Key_Escape);
    QVERIFY(!box.isVisible());
  }

  void shortenFolderPath_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<int>("maxCharacters");
    QTest::addColumn<QString>("shown");
    const QString example = "C:\\Datos\\Centro\\Curso 2004\\Envio";  // 32 characters
    QTest::newRow("fits") << example << QChar('\\') << 32 << example;
    QTest::newRow("first folder") << example << QChar('\\') << 31
                                  << "C:\\...\\Centro\\Curso 2004\\Envio";
    QTest::newRow("second folder") << example << QChar('\\') << 28
                                   << "C:\\...\\Curso 2004\\Envio";
    QTest::newRow("last folder") << example << QChar('\\') << 22 << "C:\\...\\Envio";
    QTest::newRow("drive") << example << QChar('\\') << 11 << "...\\Envio";
    QTest::newRow("folders") << example << QChar('\\') << 8 << "Envio";
    QTest::newRow("name too wide") << example << QChar('\\') << 2 << "Envio";
    QTest::newRow("posix") << "/home/ana/Curso 2004/Envio" << QChar('/') << 21
                           << "/.../Curso 2004/Envio";
    QTest::newRow("posix, no drive") << "/home/ana/Curso 2004/Envio" << QChar('/') << 9
                                     << ".../Envio";
  }
  void shortenFolderPath() {
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(int, maxCharacters);
    QFETCH(QString, shown);
    // Every character 7 pixels wide, so the limit is easy to count.
    const auto width = [](const QString& text) { return 7 * static_cast<int>(text.size()); };
    QCOMPARE(ShortenFolderPath(path, 7 * maxCharacters, width, separator), shown);
  }

  void folderRows_data() {
    QTest::addColumn<QByteArray>("current");
    QTest::addColumn<QByteArrayList>("subfolders");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<std::vector<ExpectedRow>>("rows");
    const auto open = FolderIcon::kOpen;
    const auto current = FolderIcon::kCurrent;
    const auto closed = FolderIcon::kClosed;
    QTest::newRow("nested") << QByteArray("/home/ana/rova") << QByteArrayList{"2024", "Datos"}
                            << QChar('/') << std::vector<ExpectedRow>{
                                   {"/", "/", open, 2},
                                   {"home", "/home", open, 6},
                                   {"ana", "/home/ana", open, 10},
                                   {"rova", "/home/ana/rova", current, 14},
                                   {"2024", "/home/ana/rova/2024", closed, 18},
                                   {"Datos", "/home/ana/rova/Datos", closed, 18}};
    QTest::newRow("root") << QByteArray("/") << QByteArrayList{"etc", "home"} << QChar('/')
                          << std::vector<ExpectedRow>{{"/", "/", current, 2},
                                                      {"etc", "/etc", closed, 10},
                                                      {"home", "/home", closed, 10}};
    QTest::newRow("drive folder") << QByteArray("C:\\Datos\\Centro") << QByteArrayList{"Envio"}
                                  << QChar('\\') << std::vector<ExpectedRow>{
                                         {"C:\\", "C:\\", open, 2},
                                         {"Datos", "C:\\Datos", open, 6},
                                         {"Centro", "C:\\Datos\\Centro", current, 10},
                                         {"Envio", "C:\\Datos\\Centro\\Envio", closed, 14}};
    QTest::newRow("drive root") << QByteArray("C:\\") << QByteArrayList{"Datos"} << QChar('\\')
                                << std::vector<ExpectedRow>{{"C:\\", "C:\\", current, 2},
                                                            {"Datos", "C:\\Datos", closed, 10}};
    QTest::newRow("network share")
        << QByteArray("\\\\servidor\\datos\\rova") << QByteArrayList{} << QChar('\\')
        << std::vector<ExpectedRow>{{"\\\\servidor\\datos\\", "\\\\servidor\\datos\\", open, 2},
                                    {"rova", "\\\\servidor\\datos\\rova", current, 6}};
    // Names that are no UTF-8 (Latin-1 "Año", "Día") are shown with U+FFFD and kept as bytes.
    QTest::newRow("not UTF-8") << QByteArray("/home/A\xF1" "o") << QByteArrayList{"D\xED" "a"}
                               << QChar('/')
                               << std::vector<ExpectedRow>{
                                      {"/", "/", open, 2},
                                      {"home", "/home", open, 6},
                                      {"A\uFFFD" "o", "/home/A\xF1" "o", current, 10},
                                      {"D\uFFFD" "a", "/home/A\xF1" "o/D\xED" "a", closed, 14}};
  }
  void folderRows() {
    QFETCH(QByteArray, current);
    QFETCH(QByteArrayList, subfolders);
    QFETCH(QChar, separator);
    QFETCH(std::vector<ExpectedRow>, rows);
    std::vector<std::string> names;
    for (const QByteArray& name : subfolders) names.push_back(name.toStdString());
    const std::vector<FolderRow> actual =
        FolderRows(current.toStdString(), names, separator.toLatin1());
    QCOMPARE(actual.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      QCOMPARE(actual[i].text, rows[i].text);
      QCOMPARE(QByteArray::fromStdString(actual[i].path), rows[i].path);
      QCOMPARE(actual[i].icon, rows[i].icon);
      QCOMPARE(actual[i].iconLeft, rows[i].iconLeft);
    }
  }
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
