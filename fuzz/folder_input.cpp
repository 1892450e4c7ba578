#include "fuzz/folder_input.h"

namespace norvalde::fuzzing {

std::vector<std::string_view> SplitParts(std::string_view input, size_t most) {
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < most) {
    const size_t marker = input.find(kPartMarker);
    if (marker == std::string_view::npos) break;
    parts.push_back(input.substr(0, marker));
    input.remove_prefix(marker + kPartMarker.size());
  }
  parts.push_back(input);
  return parts;
}

std::string JoinParts(const std::vector<std::string>& parts) {
  std::string joined;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) joined += kPartMarker;
    joined += parts[i];
  }
  return joined;
}

void PutParts(MemoryEnv& env, std::string_view input, const std::vector<std::string>& paths) {
  const std::vector<std::string_view> parts = SplitParts(input, paths.size());
  for (size_t i = 0; i < parts.size(); ++i) env.Put(paths[i], std::string(parts[i]));
}

}  // namespace norvalde::fuzzing
