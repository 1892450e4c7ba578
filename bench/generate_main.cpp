// norvalde-generate: writes a synthetic ROVA folder and a SOLUC table.
//   norvalde-generate <school|district|district10> <seed> <rova folder> <work folder>
// Both folders are created when missing.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "bench/rova_generator.h"
#include "bench/scales.h"

int main(int argc, char** argv) {
  using namespace norvalde::bench;
  if (argc != 5) {
    std::fprintf(stderr,
                 "usage: %s <school|district|district10> <seed> <rova folder> <work folder>\n",
                 argv[0]);
    return 2;
  }
  auto scale = FindScale(argv[1]);
  if (!scale) {
    std::fprintf(stderr, "unknown scale '%s'\n", argv[1]);
    return 2;
  }
  try {
    uint64_t seed = std::strtoull(argv[2], nullptr, 10);
    std::filesystem::create_directories(argv[3]);
    std::filesystem::create_directories(argv[4]);
    GenerateRovaFiles(*scale, seed, argv[3]);
    GenerateSoluc(*scale, seed, argv[4]);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
