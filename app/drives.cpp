#include "app/drives.h"

namespace norvalde::window {

std::vector<Drive> AvailableDrives() {
  std::vector<Drive> drives;
  for (const platform::Drive& drive : platform::AvailableDrives()) {
    drives.push_back({QString::fromStdString(drive.text), QString::fromStdString(drive.root),
                      drive.kind});
  }
  return drives;
}

QString DriveOf(const std::string& folder) {
  return QString::fromStdString(platform::DriveOf(folder));
}

}  // namespace norvalde::window
