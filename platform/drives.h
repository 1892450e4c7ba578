// The drives the drive box offers. On Windows these are the drive letters; elsewhere the
// mounted file systems, the root first. Texts are UTF-8.
#pragma once

#include <string>
#include <vector>

namespace norvalde::platform {

enum class DriveKind { kRemovable, kFixed, kNetwork, kCdRom, kRamDisk };

struct Drive {
  std::string text;  // as the drive box shows it: "c: [sistema]", "/home [datos]"
  std::string root;  // what choosing the drive opens: "c:" (that drive's current folder), "/home"
  DriveKind kind;
};

std::vector<Drive> AvailableDrives();

// The `root` of the drive that holds `folder`; empty when it has none (a network path, or a
// folder that does not exist).
std::string DriveOf(const std::string& folder);

}  // namespace norvalde::platform
