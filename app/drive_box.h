// The drive box: a drop-down list of the drives, each with its icon.
#pragma once

#include <QComboBox>
#include <QString>
#include <string>
#include <vector>

#include "app/drives.h"

namespace norvalde::window {

class TDriveComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TDriveComboBox(QWidget* parent);

  // Lists these drives, in this order (AvailableDrives() for the system's own).
  void SetDrives(const std::vector<Drive>& drives);
  // Selects the drive that holds `folder`, none when no listed drive does.
  void ShowDriveOf(const std::string& folder);
  // The root of the selected drive; empty when none is selected.
  QString SelectedRoot() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace norvalde::window
