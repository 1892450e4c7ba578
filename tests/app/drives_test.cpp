// The drive box against the system it runs on: every drive the system reports is listed, in
// order, with the text its type calls for, and the box finds the drive of the current folder.
#include <QDir>
#include <QTest>
#include <set>

#include "app/drive_box.h"
#include "app/drives.h"

#ifdef _WIN32
#include <windows.h>
#endif

using namespace norvalde::window;

class DrivesTest : public QObject {
  Q_OBJECT

 private slots:
  void currentFolderIsOnAListedDrive() {
    const std::vector<Drive> drives = AvailableDrives();
    QVERIFY(!drives.empty());
    const QString root = DriveOf(QDir::currentPath().toStdString());
    QVERIFY2(std::any_of(drives.begin(), drives.end(),
                         [&](const Drive& drive) { return drive.root == root; }),
             qPrintable("no listed drive holds " + QDir::currentPath()));

    QWidget window;
    TDriveComboBox box(&window);
    box.SetDrives(drives);
    QCOMPARE(static_cast<size_t>(box.count()), drives.size());
    for (size_t i = 0; i < drives.size(); ++i) {
      QCOMPARE(box.itemText(static_cast<int>(i)), drives[i].text);
    }
    box.ShowDriveOf(QDir::currentPath().toStdString());
    QCOMPARE(box.SelectedRoot(), root);
  }

#ifdef _WIN32
  // Every fixed drive the system reports, the system drive among them, is listed as its
  // lower-case letter, a colon and its label in square brackets.
  void everyFixedDriveIsListedWithItsLabel() {
    std::set<QString> listed;
    for (const Drive& drive : AvailableDrives()) {
      listed.insert(drive.root);
      QCOMPARE(drive.root.size(), 2);
      QVERIFY(drive.root[0] >= u'a' && drive.root[0] <= u'z');
      QVERIFY2(drive.text.startsWith(drive.root), qPrintable(drive.text));
    }
    const DWORD present = GetLogicalDrives();
    int fixed = 0;
    for (int index = 0; index < 26; ++index) {
      if (!(present & (1u << index))) continue;
      const wchar_t root[] = {static_cast<wchar_t>(L'A' + index), L':', L'\\', 0};
      if (GetDriveTypeW(root) != DRIVE_FIXED) continue;
      ++fixed;
      const QString name = QString(QChar(u'a' + index)) + u':';
      QVERIFY2(listed.count(name) == 1, qPrintable(name + " is not listed"));
    }
    QVERIFY(fixed > 0);
    const QString system = qEnvironmentVariable("SystemDrive", "C:").toLower();
    QVERIFY2(listed.count(system) == 1, qPrintable(system + " is not listed"));
    for (const Drive& drive : AvailableDrives()) {
      if (drive.icon != DriveIcon::kFixed) continue;
      QVERIFY2(drive.text.startsWith(drive.root + " [") && drive.text.endsWith(u']'),
               qPrintable(drive.text));
      QCOMPARE(drive.text, drive.text.toLower());
    }
  }
#endif
};

QTEST_MAIN(DrivesTest)
#include "drives_test.moc"
