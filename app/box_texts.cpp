#include "app/box_texts.h"

namespace norvalde::window {

std::string ErrorBoxText(const std::string& message) {
  if (message.empty() || static_cast<unsigned char>(message.back()) <= '.') return message;
  return message + ".";
}

QString MessageBoxClipboardText(const QString& caption, const QString& message,
                                const QStringList& buttonCaptions) {
  const QString line = QStringLiteral("\r\n");
  const QString hyphens = QString(27, u'-') + line;
  QString buttons;
  for (QString buttonCaption : buttonCaptions) buttons += buttonCaption.remove(u'&') + "   ";
  return hyphens + caption + line + hyphens + message + line + hyphens + buttons + line + hyphens;
}

}  // namespace norvalde::window
