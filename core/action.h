// What the Export and the Import share: the context they run in, and the frame around their
// bodies (the hourglass while they run, then the closing message).
#pragma once

#include <string>

#include "core/message_sink.h"
#include "platform/collation.h"
#include "platform/decimal_separator.h"
#include "platform/env.h"

namespace norvalde {

struct ActionContext {
  platform::Env& env;
  std::string carpeta;     // the chosen folder followed by one separator
  std::string workFolder;  // where the work tables live
  MessageSink& messages;
  // The code comparison of the duplicate filter and of the start times.
  platform::Collation& collation = platform::Collation::Default();
  // The decimal point of numbers read from a table as text: the user's, as it is when the
  // action starts.
  char decimalSeparator = platform::UserDecimalSeparator();
};

// Runs `body` with the hourglass showing, then sets the cursor back and shows `closing`. An
// error from `body` passes through untouched: the hourglass stays and nothing is shown, so the
// user sees where the run stopped.
template <typename Body>
void RunAction(const ActionContext& context, const std::string& closing, Body&& body) {
  context.messages.ShowBusyCursor();
  body();
  context.messages.RestoreCursor();
  context.messages.ShowMessage(closing);
}

}  // namespace norvalde
