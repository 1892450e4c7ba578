// norvalde-sample-soluc: writes the sample school's solved timetable, SOLUC.DBF, into a folder.
//   norvalde-sample-soluc <work folder>
// The folder is created when missing. samples/SOLUC.DBF is this program's output.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "bench/sample_timetable.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <work folder>\n", argv[0]);
    return 2;
  }
  try {
    std::filesystem::create_directories(argv[1]);
    norvalde::bench::GenerateSampleSoluc(argv[1]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
