// The mounted file systems from the mount table, as the drives of a system without drive
// letters. Pseudo file systems (the kernel's own views, and mounts whose source is not a
// device) are left out, as are file systems of no size other than the root; a file system's
// name is its volume label from /dev/disk/by-label.
#include <dirent.h>
#include <limits.h>
#include <mntent.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/drives.h"

namespace norvalde::platform {

namespace {

struct Mount {
  std::string device;
  std::string folder;
  std::string type;
};

std::vector<Mount> MountTable() {
  std::vector<Mount> mounts;
  FILE* table = setmntent("/proc/self/mounts", "r");
  if (table == nullptr) table = setmntent("/etc/mtab", "r");
  if (table == nullptr) return mounts;
  mntent entry;
  char buffer[4096];
  while (getmntent_r(table, &entry, buffer, sizeof buffer) != nullptr) {
    mounts.push_back({entry.mnt_fsname, entry.mnt_dir, entry.mnt_type});
  }
  endmntent(table);
  return mounts;
}

// `folder` is `parent` or lies below it.
bool IsAtOrBelow(const std::string& folder, const std::string& parent) {
  if (folder.compare(0, parent.size(), parent) != 0) return false;
  return folder.size() == parent.size() || parent == "/" || folder[parent.size()] == '/';
}

bool IsPseudo(const Mount& mount) {
  for (const char* kernel : {"/dev", "/proc", "/sys", "/var/run", "/var/lock"}) {
    if (IsAtOrBelow(mount.folder, kernel)) return true;
  }
  if (mount.type == "tmpfs") return false;
  if (mount.type == "rootfs" || mount.type == "rpc_pipefs") return true;
  return mount.device.empty() || mount.device[0] != '/';
}

std::string RealPath(const std::string& path) {
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? resolved : "";
}

// The label's name in /dev/disk/by-label spells some bytes as \xNN.
std::string DecodeLabel(const std::string& name) {
  std::string label;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name.compare(i, 2, "\\x") == 0 && i + 4 <= name.size() &&
        std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
      label += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else {
      label += name[i];
    }
  }
  return label;
}

std::string VolumeLabel(const std::string& device) {
  const std::string real = RealPath(device);
  if (real.empty()) return "";
  DIR* labels = opendir("/dev/disk/by-label");
  if (labels == nullptr) return "";
  std::string label;
  while (const dirent* entry = readdir(labels)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    if (RealPath("/dev/disk/by-label/" + name) == real) {
      label = DecodeLabel(name);
      break;
    }
  }
  closedir(labels);
  return label;
}

DriveKind KindOf(const std::string& type) {
  for (const char* network : {"nfs", "nfs4", "cifs", "smbfs", "smb3", "fuse.sshfs"}) {
    if (type == network) return DriveKind::kNetwork;
  }
  if (type == "iso9660" || type == "udf") return DriveKind::kCdRom;
  if (type == "tmpfs" || type == "ramfs") return DriveKind::kRamDisk;
  if (type == "vfat" || type == "exfat") return DriveKind::kRemovable;
  return DriveKind::kFixed;
}

}  // namespace

std::vector<Drive> AvailableDrives() {
  std::vector<Drive> drives;
  for (const Mount& mount : MountTable()) {
    if (IsPseudo(mount)) continue;
    struct statvfs info;
    if (statvfs(mount.folder.c_str(), &info) != 0) continue;  // not ready
    if (info.f_blocks == 0 && mount.folder != "/") continue;
    // A file system mounted twice at one place is listed once.
    if (std::any_of(drives.begin(), drives.end(),
                    [&](const Drive& d) { return d.root == mount.folder; }))
      continue;
    drives.push_back({mount.folder + " [" + VolumeLabel(mount.device) + "]", mount.folder,
                      KindOf(mount.type)});
  }
  // "/" sorts before every other mount point, so the root comes first.
  std::sort(drives.begin(), drives.end(),
            [](const Drive& a, const Drive& b) { return a.root < b.root; });
  return drives;
}

std::string DriveOf(const std::string& folder) {
  const std::string real = RealPath(folder);
  if (real.empty()) return "";
  // The deepest mount point the folder lies in.
  std::string best;
  for (const Mount& mount : MountTable()) {
    if (IsAtOrBelow(real, mount.folder) && mount.folder.size() > best.size()) best = mount.folder;
  }
  return best;
}

}  // namespace norvalde::platform
