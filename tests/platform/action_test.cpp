// The frame both actions run in: the hourglass first, the closing message only after a body
// that ran to its end.
#include <gtest/gtest.h>

#include <stdexcept>

#include "core/action.h"
#include "tests/support/recording_message_sink.h"

namespace norvalde {
namespace {

// Also records the hourglass going up, which the shared recorder leaves out.
class CursorRecorder : public testing::RecordingMessageSink {
 public:
  void ShowBusyCursor() override { events.push_back("<hourglass>"); }
};

TEST(RunAction, HourglassThenBodyThenCursorBackThenClosingMessage) {
  CursorRecorder sink;
  ActionContext context{platform::Env::Default(), "/rova/", "/work", sink};
  RunAction(context, "Proceso finalizado", [&] { sink.ShowMessage("a step"); });
  EXPECT_EQ(sink.events, (std::vector<std::string>{"<hourglass>", "a step",
                                                   testing::RecordingMessageSink::kCursorRestored,
                                                   "Proceso finalizado"}));
}

TEST(RunAction, FailingBodyLeavesTheHourglassAndShowsNoClosingMessage) {
  CursorRecorder sink;
  ActionContext context{platform::Env::Default(), "/rova/", "/work", sink};
  EXPECT_THROW(RunAction(context, "Proceso Terminado",
                         [] { throw std::runtime_error("the step failed"); }),
               std::runtime_error);
  EXPECT_EQ(sink.events, (std::vector<std::string>{"<hourglass>"}));
}

}  // namespace
}  // namespace norvalde
