// A ROVA exchange file's lines one at a time, split exactly as ExchangeLineList::LoadFromFile
// splits them (a line ends at CR, at LF or at the pair CR LF; a NUL ends the text; Ctrl-Z is an
// ordinary byte), but read through one buffer instead of whole: for a caller that looks at
// each line once, in order, and keeps little of it.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/env.h"

namespace norvalde::exchange {

class ExchangeLineStream {
 public:
  explicit ExchangeLineStream(platform::Env& env);
  ~ExchangeLineStream();
  ExchangeLineStream(const ExchangeLineStream&) = delete;
  ExchangeLineStream& operator=(const ExchangeLineStream&) = delete;

  // Fails with "Cannot open file "<path>". <system text>".
  void Open(const std::string& path);
  // The next line, valid until the next call; false after the last. A read that fails throws
  // "Stream read error". The file is closed once its end is reached.
  bool Next(std::string_view& line);

 private:
  bool Fill();
  void CloseFile() noexcept;

  platform::Env& env_;
  std::unique_ptr<platform::File> file_;
  std::unique_ptr<char[]> buffer_;  // uninitialized: only what a read filled is looked at
  size_t position_ = 0;
  size_t filled_ = 0;
  std::string carried_;   // the start of a line that runs past the buffer
  bool skipLf_ = false;   // the last line ended at CR: an LF right after it is the same break
  bool ended_ = true;
};

}  // namespace norvalde::exchange
