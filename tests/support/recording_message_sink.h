// A MessageSink that keeps what the user would have seen, in order.
#pragma once

#include <string>
#include <vector>

#include "core/message_sink.h"

namespace norvalde::testing {

class RecordingMessageSink : public MessageSink {
 public:
  void ShowMessage(const std::string& text) override {
    messages.push_back(text);
    events.push_back(text);
  }
  void RestoreCursor() override { events.push_back(kCursorRestored); }

  // The texts shown, in order.
  std::vector<std::string> messages;
  // The texts shown and kCursorRestored at each cursor restore, in order.
  std::vector<std::string> events;
  static constexpr const char* kCursorRestored = "<cursor restored>";
};

}  // namespace norvalde::testing
