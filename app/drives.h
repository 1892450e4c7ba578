// The drives the drive box offers (platform/drives.h), in the window's own strings. On Windows
// these are the drive letters; elsewhere the mounted file systems, the root first.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "app/pictures.h"

namespace norvalde::window {

struct Drive {
  QString text;  // as the drive box shows it: "c: [sistema]", "/home [datos]"
  QString root;  // what choosing the drive opens: "c:" (that drive's current folder), "/home"
  DriveIcon icon;
};

std::vector<Drive> AvailableDrives();

// The `root` of the drive that holds `folder` (as the system names it, folder_list.h); empty
// when it has none (a network path).
QString DriveOf(const std::string& folder);

}  // namespace norvalde::window
