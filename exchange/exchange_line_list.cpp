#include "exchange/exchange_line_list.h"

#include <cstring>

#include "core/error.h"
#include "exchange/exchange_file_writer.h"
#include "platform/system_errors.h"

namespace norvalde::exchange {

namespace {

constexpr size_t kChunkSize = 64 * 1024;

[[noreturn]] void FailToOpen(const std::string& path, int systemError) {
  throw Error("Cannot open file \"" + path + "\". " + platform::SystemErrorText(systemError));
}

// Reads straight into the string, sized by the file's length, so the text is never copied to
// grow it; a file that grows meanwhile is read to its new end.
std::string ReadWholeFile(platform::File& file) {
  uint64_t size = 0;
  std::string content(file.Size(size) == 0 ? static_cast<size_t>(size) : 0, '\0');
  size_t filled = 0;
  std::string beyond;  // bytes past the length the file had when opened
  for (;;) {
    const bool inside = filled < content.size();
    if (!inside) beyond.resize(kChunkSize);
    size_t got = 0;
    const int error = inside ? file.Read(content.data() + filled, content.size() - filled, got)
                             : file.Read(beyond.data(), beyond.size(), got);
    if (error != 0) throw Error("Stream read error");
    if (got == 0) break;
    if (!inside) content.append(beyond, 0, got);
    filled += got;
  }
  content.resize(filled);
  return content;
}

// Lines end at CR, LF or CR LF; a NUL ends the text; a final break starts no further line.
// Each line's bytes are moved down over the breaks before it, inside `content` itself, which
// ends holding the lines back to back; `ends` receives where each line ends.
void SplitLinesInPlace(std::string& content, std::vector<size_t>& ends) {
  const size_t end = content.find('\0');
  const size_t length = end == std::string::npos ? content.size() : end;
  const auto isBreak = [&](size_t at) { return content[at] == '\r' || content[at] == '\n'; };

  // Counted first so the table of line ends is allocated once, at its final size.
  size_t lineCount = 0;
  for (size_t at = 0; at < length; ++at) {
    const bool pairStart = content[at] == '\r' && at + 1 < length && content[at + 1] == '\n';
    if (isBreak(at) && !pairStart) ++lineCount;
  }
  if (length > 0 && !isBreak(length - 1)) ++lineCount;
  ends.clear();
  ends.reserve(lineCount);

  size_t kept = 0;
  size_t start = 0;
  while (start < length) {
    size_t stop = start;
    while (stop < length && !isBreak(stop)) ++stop;
    if (kept != start) std::memmove(content.data() + kept, content.data() + start, stop - start);
    kept += stop - start;
    ends.push_back(kept);
    start = stop;
    if (start == length) break;
    const bool pair = content[start] == '\r' && start + 1 < length && content[start + 1] == '\n';
    start += pair ? 2 : 1;
  }
  content.resize(kept);
  // A NUL early in a large file leaves most of the buffer unused: give it back.
  if (kept < content.capacity() / 2) content.shrink_to_fit();
}

}  // namespace

void ExchangeLineList::LoadFromFile(const std::string& path) {
  std::unique_ptr<platform::File> file;
  int error = env_.Open(path, platform::OpenMode::kReadSharedDenyWrite, file);
  if (error != 0) FailToOpen(path, error);
  std::string content = ReadWholeFile(*file);
  file->Close();  // read only: a failing close loses nothing
  std::vector<size_t> ends;
  SplitLinesInPlace(content, ends);
  // The earlier lines are kept until the new ones are complete, then given up at once.
  text_ = std::move(content);
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
