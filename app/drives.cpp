#include "app/drives.h"

#ifdef _WIN32
#include <windows.h>
#include <winnetwk.h>
#else
#include <QStorageInfo>
#include <algorithm>
#endif

namespace norvalde::window {

#ifdef _WIN32

namespace {

QString VolumeLabel(const wchar_t* root) {
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
    return QStringLiteral("[]");
  }
  return QStringLiteral("[%1]").arg(QString::fromWCharArray(label).toLower());
}

}  // namespace

std::vector<Drive> AvailableDrives() {
  std::vector<Drive> drives;
  // A drive without a medium must not stop the listing with the system's prompt.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
  const DWORD present = GetLogicalDrives();
  for (int index = 0; index < 26; ++index) {
    if (!(present & (1u << index))) continue;
    const wchar_t letter = static_cast<wchar_t>(L'a' + index);
    const wchar_t root[] = {letter, L':', L'\\', 0};
    const QString name = QString(QChar(letter)) + u':';
    switch (GetDriveTypeW(root)) {
      case DRIVE_REMOVABLE:
        drives.push_back({name, name, DriveIcon::kRemovable});
        break;
      case DRIVE_FIXED:
        drives.push_back({name + u' ' + VolumeLabel(root), name, DriveIcon::kFixed});
        break;
      case DRIVE_CDROM:
        drives.push_back({name + u' ' + VolumeLabel(root), name, DriveIcon::kCdRom});
        break;
      case DRIVE_RAMDISK:
        drives.push_back({name + u' ' + VolumeLabel(root), name, DriveIcon::kRamDisk});
        break;
      case DRIVE_REMOTE: {
        const wchar_t local[] = {letter, L':', 0};
        wchar_t remote[MAX_PATH + 1] = {};
        DWORD length = MAX_PATH + 1;
        const QString target = WNetGetConnectionW(local, remote, &length) == NO_ERROR
                                   ? QString::fromWCharArray(remote).toLower()
                                   : VolumeLabel(root);
        drives.push_back({name + u' ' + target, name, DriveIcon::kNetwork});
        break;
      }
      default:  // unknown type or no root folder: left out
        break;
    }
  }
  SetErrorMode(oldMode);
  return drives;
}

QString DriveOf(const QString& folder) {
  if (folder.size() < 2 || folder[1] != u':') return {};
  return folder.left(1).toLower() + u':';
}

#else

namespace {

DriveIcon IconOf(const QByteArray& fileSystemType) {
  static const QByteArrayList network = {"nfs", "nfs4", "cifs", "smbfs", "smb3", "fuse.sshfs"};
  if (network.contains(fileSystemType)) return DriveIcon::kNetwork;
  if (fileSystemType == "iso9660" || fileSystemType == "udf") return DriveIcon::kCdRom;
  if (fileSystemType == "tmpfs" || fileSystemType == "ramfs") return DriveIcon::kRamDisk;
  if (fileSystemType == "vfat" || fileSystemType == "exfat") return DriveIcon::kRemovable;
  return DriveIcon::kFixed;
}

}  // namespace

std::vector<Drive> AvailableDrives() {
  std::vector<Drive> drives;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = volume.rootPath();
    // A file system mounted twice at one place is listed once.
    if (std::any_of(drives.begin(), drives.end(), [&](const Drive& d) { return d.root == root; }))
      continue;
    drives.push_back({root + QStringLiteral(" [") + volume.name() + u']', root,
                      IconOf(volume.fileSystemType())});
  }
  // "/" sorts before every other mount point, so the root comes first.
  std::sort(drives.begin(), drives.end(),
            [](const Drive& a, const Drive& b) { return a.root < b.root; });
  return drives;
}

QString DriveOf(const QString& folder) { return QStorageInfo(folder).rootPath(); }

#endif

}  // namespace norvalde::window
