// The texts of the message box and the error box, apart from the boxes themselves.
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace norvalde::window {

// The error box's text: the error message with a period added, unless the message is empty or
// its last byte is, in byte order, at or below "." (period, comma, hyphen, ")", "!", space...).
std::string ErrorBoxText(const std::string& message);

// What Ctrl+C in a message box puts on the clipboard: a line of 27 hyphens, the caption, a
// hyphen line, the message, a hyphen line, each button caption without "&" followed by three
// spaces, and a last hyphen line; every line ends with CR LF.
QString MessageBoxClipboardText(const QString& caption, const QString& message,
                                const QStringList& buttonCaptions);

}  // namespace norvalde::window
