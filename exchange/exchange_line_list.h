// A whole ROVA exchange file as an ordered list of lines, read in one go or built and saved.
//
// Loading reads through a CrOrLfLineReader and keeps every line it gives: a line ends at CR,
// at LF, or at the pair CR LF; a NUL ends the text; Ctrl-Z is an ordinary byte. Saving writes
// every line followed by CR LF through an ExchangeFileWriter: into a temporary file beside the
// target, renamed over the target only once every byte is written, so a failed save leaves
// any earlier file intact.
//
// The lines live back to back in one buffer with a table of where each ends, so a list of a
// million short lines costs little more than their bytes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/env.h"

namespace norvalde::exchange {

class ExchangeLineList {
 public:
  explicit ExchangeLineList(platform::Env& env) : env_(env) {}

  // Replaces the content with the file's lines. Fails with
  // "Cannot open file "<path>". <system text>".
  void LoadFromFile(const std::string& path);
  int Count() const { return static_cast<int>(ends_.size()); }
  // Fails with "List index out of bounds (<index>)". The view is valid until the list next
  // changes.
  std::string_view Line(int index) const;
  void Add(std::string_view line) {
    text_ += line;
    ends_.push_back(text_.size());
  }
  // Fails with "Cannot create file "<path>". <system text>" or "Stream write error".
  void SaveToFile(const std::string& path) const;

 private:
  platform::Env& env_;
  std::string text_;          // every line's bytes, without line breaks
  std::vector<size_t> ends_;  // line i is text_[ends_[i - 1], ends_[i]) (from 0 for the first)
};

}  // namespace norvalde::exchange
