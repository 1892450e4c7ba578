// How the window speaks to the user: the message box and the error box. The program shows
// modal boxes (ModalBoxes); a test puts a recorder in their place and answers them itself.
#pragma once

#include <string>

namespace norvalde::window {

class WindowMessages {
 public:
  virtual ~WindowMessages() = default;
  // The message box: shows the UTF-8 text and returns once the user has closed the box.
  virtual void ShowMessage(const std::string& text) = 0;
  // The error box: shows the UTF-8 text (already with its closing period, ErrorBoxText) and
  // returns once the user has closed the box.
  virtual void ShowError(const std::string& text) = 0;
};

}  // namespace norvalde::window
