// A whole ROVA exchange file as an ordered list of lines, read in one go or built and saved.
//
// Loading: a line ends at CR, at LF, or at the pair CR LF; a NUL ends the text; Ctrl-Z is an
// ordinary byte. Saving writes every line followed by CR LF into a temporary file beside the
// target and renames it over the target only once every byte is written, so a failed save
// leaves any earlier file intact.
#pragma once

#include <string>
#include <vector>

#include "platform/env.h"

namespace norvalde::exchange {

class ExchangeLineList {
 public:
  explicit ExchangeLineList(platform::Env& env) : env_(env) {}

  // Replaces the content with the file's lines. Fails with
  // "Cannot open file "<path>". <system text>".
  void LoadFromFile(const std::string& path);
  int Count() const { return static_cast<int>(lines_.size()); }
  // Fails with "List index out of bounds (<index>)".
  const std::string& Line(int index) const;
  void Add(std::string line) { lines_.push_back(std::move(line)); }
  // Fails with "Cannot create file "<path>". <system text>" or "Stream write error".
  void SaveToFile(const std::string& path) const;

 private:
  platform::Env& env_;
  std::vector<std::string> lines_;
};

}  // namespace norvalde::exchange
