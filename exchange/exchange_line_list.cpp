#include "exchange/exchange_line_list.h"

#include "core/error.h"
#include "exchange/cr_or_lf_line_reader.h"
#include "exchange/exchange_file_writer.h"

namespace norvalde::exchange {

void ExchangeLineList::LoadFromFile(const std::string& path) {
  CrOrLfLineReader reader(env_);
  reader.Open(path);
  // The lines go back to back into text sized by the file, so it never grows by copying.
  std::string text;
  text.reserve(static_cast<size_t>(reader.Size()));
  std::vector<size_t> ends;
  std::string_view line;
  while (reader.Next(line)) {
    text += line;
    ends.push_back(text.size());
  }
  // A NUL early in a large file leaves most of the room unused: give it back.
  if (text.size() < text.capacity() / 2) text.shrink_to_fit();
  // The earlier lines are kept until the new ones are complete, then given up at once.
  text_ = std::move(text);
  ends_ = std::move(ends);
}

std::string_view ExchangeLineList::Line(int index) const {
  if (index < 0 || index >= Count()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  const size_t at = static_cast<size_t>(index);
  const size_t start = at == 0 ? 0 : ends_[at - 1];
  return std::string_view(text_).substr(start, ends_[at] - start);
}

void ExchangeLineList::SaveToFile(const std::string& path) const {
  ExchangeFileWriter writer(env_, path);
  for (int index = 0; index < Count(); ++index) writer.Add(Line(index));
  writer.Commit();
}

}  // namespace norvalde::exchange
