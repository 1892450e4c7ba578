// How the core speaks to the user. The window implements it with modal boxes; tests record.
#pragma once

#include <string>

namespace norvalde {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  // Shows the UTF-8 text to the user and returns once the user has closed it.
  virtual void ShowMessage(const std::string& text) = 0;
  // An action has started: the busy cursor shows until RestoreCursor.
  virtual void ShowBusyCursor() {}
  // The action has reached its normal end: the busy cursor goes before the closing message.
  virtual void RestoreCursor() {}
};

}  // namespace norvalde
