// TMForm, the program's one window (object name "MForm"): three gradient panels carrying the
// two action buttons, the close button, the folder list, the drive box and four labels. The
// Export and the Import run from here, one step after another, on the user-interface thread.
#pragma once

#include <QLabel>
#include <QWidget>
#include <string>

#include "app/drive_box.h"
#include "app/folder_list.h"
#include "app/form_message_sink.h"
#include "app/gradient_panel.h"
#include "app/picture_button.h"
#include "app/window_messages.h"
#include "platform/env.h"
#include "import/import_tables.h"

namespace norvalde::window {

// The help topics of the window and of the two folder controls. No help file is configured,
// so F1 shows nothing; the topics are kept as the controls' "helpTopic" property.
inline constexpr int kWindowHelpTopic = 11350;
inline constexpr int kFolderHelpTopic = 9010;

class TMForm : public QWidget {
  Q_OBJECT
 public:
  // `workFolder` holds the tables; `boxes` shows the message and error boxes.
  TMForm(platform::Env& env, std::string workFolder, WindowMessages& boxes,
         QWidget* parent = nullptr);
  ~TMForm() override;

  // The controls, named as in the window's layout.
  TDraw3D* Draw3D1;
  QLabel* Label1;
  QLabel* Label2;
  TBitBtn* BClose;
  TDirectoryListBox* Directorios;
  TDriveComboBox* Unidades;
  TDraw3D* Draw3D2;
  QLabel* Label3;
  TBitBtn* BExportar;
  TDraw3D* Draw3D3;
  QLabel* Label4;
  TBitBtn* BImportar;

  // The opened folder followed by one separator, set at the start of each action.
  std::string Carpeta;

  // The Import's table components, closed until an Import opens them.
  importing::ImportTables Tables;

  void FormCreate();
  void FormClose();
  // Both run the action's own RunExport or RunImport once the folder has been checked.
  void BExportarClick();
  void BImportarClick();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LinkFolderControls();
  void SetUpKeyboard();
  // Names and descriptions for screen readers, which cannot tell the two "Aceptar" apart by
  // position; the folder list's name and description follow the opened folder. No text on the
  // window changes.
  void DescribeControls();
  // The common start of both actions: sets Carpeta and checks that the folder exists. False
  // when the action must end here.
  bool StartAction();
  // Runs `step`; an error it raises is shown in the error box and goes no further.
  template <typename Step>
  void RunGuarded(Step&& step);
  void ShowFolderInLabel(const QString& folder);
  void ChooseDrive();
  void MoveFocusInPanel(QWidget* from, bool forward);
  void ShowDefaultFrames(QWidget* focused);

  platform::Env& env_;
  std::string workFolder_;
  WindowMessages& boxes_;
  FormMessageSink messages_;
  QMetaObject::Connection focusTracking_;
  bool centred_ = false;
};

}  // namespace norvalde::window
