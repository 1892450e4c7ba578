// The small pictures of the window, drawn in code: the button glyphs and the folder and drive
// icons. Each has a transparent background.
#pragma once

#include <QPixmap>

#include "platform/drives.h"

namespace norvalde::window {

// 18 x 18: a green check mark (OK buttons).
QPixmap OkGlyph();
// 18 x 18: an open door with a green sign above it (the close button).
QPixmap CloseGlyph();

enum class FolderIcon { kOpen, kCurrent, kClosed };
// 16 x 15.
QPixmap FolderPicture(FolderIcon icon);

// The icon of each kind of drive.
using DriveIcon = platform::DriveKind;
// 16 x 11.
QPixmap DrivePicture(DriveIcon icon);

}  // namespace norvalde::window
