// One fuzz input as several files: the parts of the input between marker lines, in a fixed
// order of file names. A part left out (an input with fewer markers) is a missing file, so
// the runs also meet absent inputs and tables.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "fuzz/memory_env.h"

namespace norvalde::fuzzing {

// The line between two parts; rare enough in ROVA text and dBASE bytes to split on.
inline constexpr std::string_view kPartMarker = "\n==8<==\n";

// The parts of `input`, at most `most` (the last part takes the rest).
std::vector<std::string_view> SplitParts(std::string_view input, size_t most);

// The parts joined by the marker: the seed form of a folder.
std::string JoinParts(const std::vector<std::string>& parts);

// Puts part i into the file `paths[i]` of `env`.
void PutParts(MemoryEnv& env, std::string_view input, const std::vector<std::string>& paths);

}  // namespace norvalde::fuzzing
