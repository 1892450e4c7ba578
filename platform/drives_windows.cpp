// The drive letters, each with its type and its volume label or network name.
#include "platform/windows_api.h"
#include <winnetwk.h>

#include "platform/drives.h"
#include "platform/wide_text.h"

namespace norvalde::platform {

namespace {

std::string Lower(std::wstring text) {
  if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return WideToUtf8(text);
}

std::string VolumeLabel(const wchar_t* root) {
  wchar_t label[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(root, label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr, 0)) {
    return "[]";
  }
  return "[" + Lower(label) + "]";
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
    const std::string name = std::string(1, static_cast<char>('a' + index)) + ':';
    switch (GetDriveTypeW(root)) {
      case DRIVE_REMOVABLE:
        drives.push_back({name, name, DriveKind::kRemovable});
        break;
      case DRIVE_FIXED:
        drives.push_back({name + ' ' + VolumeLabel(root), name, DriveKind::kFixed});
        break;
      case DRIVE_CDROM:
        drives.push_back({name + ' ' + VolumeLabel(root), name, DriveKind::kCdRom});
        break;
      case DRIVE_RAMDISK:
        drives.push_back({name + ' ' + VolumeLabel(root), name, DriveKind::kRamDisk});
        break;
      case DRIVE_REMOTE: {
        const wchar_t local[] = {letter, L':', 0};
        wchar_t remote[MAX_PATH + 1] = {};
        DWORD length = MAX_PATH + 1;
        const std::string target = WNetGetConnectionW(local, remote, &length) == NO_ERROR
                                       ? Lower(remote)
                                       : VolumeLabel(root);
        drives.push_back({name + ' ' + target, name, DriveKind::kNetwork});
        break;
      }
      default:  // unknown type or no root folder: left out
        break;
    }
  }
  SetErrorMode(oldMode);
  return drives;
}

std::string DriveOf(const std::string& folder) {
  if (folder.size() < 2 || folder[1] != ':') return {};
  const char letter = folder[0];
  const char lower = letter >= 'A' && letter <= 'Z' ? static_cast<char>(letter - 'A' + 'a') : letter;
  return std::string(1, lower) + ':';
}

}  // namespace norvalde::platform
