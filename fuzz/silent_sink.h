// A message sink for runs nobody watches: the harnesses and the seed maker judge a run by what
// it leaves, not by what it says.
#pragma once

#include <string>

#include "core/message_sink.h"

namespace norvalde::fuzzing {

class SilentSink : public norvalde::MessageSink {
 public:
  void ShowMessage(const std::string&) override {}
};

}  // namespace norvalde::fuzzing
