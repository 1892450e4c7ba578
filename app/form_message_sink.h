// The message sink the window hands to the Export and the Import: their messages go to the
// window's message box, and the start and end of an action show and take away the hourglass.
#pragma once

#include "app/window_messages.h"
#include "core/message_sink.h"

namespace norvalde::window {

// Shows the hourglass over every window until RestoreBusyCursor.
void SetBusyCursor();
// Removes every override cursor, however many failed actions have stacked up.
void RestoreBusyCursor();

class FormMessageSink : public MessageSink {
 public:
  explicit FormMessageSink(WindowMessages& boxes) : boxes_(boxes) {}
  void ShowMessage(const std::string& text) override { boxes_.ShowMessage(text); }
  void ShowBusyCursor() override { SetBusyCursor(); }
  void RestoreCursor() override { RestoreBusyCursor(); }

 private:
  WindowMessages& boxes_;
};

}  // namespace norvalde::window
