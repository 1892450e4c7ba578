// Under a Spanish system Qt's own texts are Spanish, as Windows' boxes are, while the
// program's own texts stay exactly as they are.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_form.h"
#include "app/modal_boxes.h"
#include "app/qt_translations.h"
#include "platform/env.h"

using namespace norvalde::window;

namespace {

struct ShownBox {
  QString title;
  QString text;
  QStringList buttons;
};

// Shows a box through `show`, reads the box once it is up and closes it with its first button.
ShownBox ReadBox(const std::function<void()>& show) {
  ShownBox shown;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible()) return;
    poll.stop();
    shown.title = box->windowTitle();
    shown.text = box->text();
    for (QAbstractButton* button : box->buttons()) shown.buttons << button->text();
    box->buttons().first()->click();
  });
  poll.start(10);
  show();
  return shown;
}

}  // namespace

class QtTranslationsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    QVERIFY(InstallQtTranslations(*QCoreApplication::instance()));
  }

  void errorBoxButtonReadsAceptar() {
    ModalBoxes boxes(QStringLiteral("Norvalde"));
    const ShownBox shown = ReadBox([&] { boxes.ShowError("Disco lleno."); });
    QCOMPARE(shown.buttons, QStringList{QStringLiteral("Aceptar")});
    QCOMPARE(shown.title, QStringLiteral("Norvalde"));
    QCOMPARE(shown.text, QStringLiteral("Disco lleno."));
  }

  void ownTextsStayAsTheyAre() {
    ModalBoxes boxes(QStringLiteral("Norvalde"));
    const ShownBox shown = ReadBox([&] { boxes.ShowMessage("Proceso finalizado"); });
    QCOMPARE(shown.buttons, QStringList{QStringLiteral("Aceptar")});
    QCOMPARE(shown.text, QStringLiteral("Proceso finalizado"));

    QTemporaryDir work;
    TMForm form(norvalde::platform::Env::Default(), work.path().toStdString(), boxes);
    QCOMPARE(form.windowTitle(), QStringLiteral("Exportar e importar datos entre Plantivo y ROVA"));
    QCOMPARE(form.BClose->text(), QStringLiteral("&Salir"));
    QCOMPARE(form.BExportar->text(), QStringLiteral("Aceptar"));
    QCOMPARE(form.BImportar->text(), QStringLiteral("Aceptar"));
  }

  // A language Qt has no texts for leaves Qt's English ones.
  void languageWithoutTranslationsChangesNothing() {
    QVERIFY(!InstallQtTranslations(*QCoreApplication::instance(), QLocale(QLocale::Zulu)));
  }
};

QTEST_MAIN(QtTranslationsTest)
#include "qt_translations_test.moc"
