// norvalde-bench: times the Export and the Import of the core (no window) on generated folders.
//   norvalde-bench [--scales school,district,district10] [--runs 3] [--seed 1]
//                  [--folder /tmp/norvalde-bench] [--limit 3600]
// Every step runs in a child process of its own; the figures are medians over the runs.
//   norvalde-bench --step export|import|asigt --scales district [--folder ...]
// runs only that step, once, in this process, on the folders an earlier run left: for a
// profiler, which then sees nothing of the generation or of the other steps.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "bench/child_process.h"
#include "bench/rova_generator.h"
#include "bench/scales.h"
#include "bench/stages.h"

namespace norvalde::bench {
namespace {

struct Options {
  std::vector<std::string> scales = {"school", "district"};
  int runs = 3;
  uint64_t seed = 1;
  std::string folder = "/tmp/norvalde-bench";
  int limitSeconds = 3600;
  std::string step;  // "export", "import" or "asigt": that step alone, in this process
};

// One line of the report: the medians of one step over the runs.
struct StepFigures {
  std::vector<double> seconds, cpuSeconds, peakMb;
  double rows = 0, read = 0, written = 0;
  std::string error;
  bool timeOnly = false;  // a part of a step: its bytes and memory are the whole step's

  void Add(const ChildResult& result, double stepSeconds) {
    if (!result.ok) {
      error = result.error;
      return;
    }
    seconds.push_back(stepSeconds);
    cpuSeconds.push_back(result.cpuSeconds);
    peakMb.push_back(result.peakMb);
    if (result.values.count("read")) read = result.values.at("read");
    if (result.values.count("written")) written = result.values.at("written");
  }
  static double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
  }
  double MedianSeconds() const { return Median(seconds); }
  double MedianCpu() const { return Median(cpuSeconds); }
};

void PrintStep(const std::string& name, const StepFigures& step) {
  if (!step.error.empty()) {
    std::printf("  %-28s FAILED: %s\n", name.c_str(), step.error.c_str());
    return;
  }
  double seconds = step.MedianSeconds();
  if (step.timeOnly) {
    std::printf("  %-28s %9.3f %8s %11.0f %12.0f\n", name.c_str(), seconds, "", step.rows,
                seconds > 0 ? step.rows / seconds : 0);
    return;
  }
  std::printf("  %-28s %9.3f %8.3f %11.0f %12.0f %9.1f %9.1f %8.1f\n", name.c_str(), seconds,
              step.MedianCpu(), step.rows, seconds > 0 ? step.rows / seconds : 0, step.read / 1e6,
              step.written / 1e6, StepFigures::Median(step.peakMb));
}

uint64_t CountLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return static_cast<uint64_t>(std::count(std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>(), '\n'));
}

bool ProgramInPath(const std::string& name) {
  const char* path = getenv("PATH");
  std::istringstream folders(path ? path : "");
  std::string folder;
  while (std::getline(folders, folder, ':'))
    if (access((folder + "/" + name).c_str(), X_OK) == 0) return true;
  return false;
}

// One figure beside its target, and whether it meets it.
void Target(const std::string& what, double value, const char* unit, bool atMost, double bound) {
  const bool met = atMost ? value <= bound : value >= bound;
  std::printf("  %-46s %8.2f%-3s target %s %.5g%s: %s\n", what.c_str(), value, unit,
              atMost ? "at most" : "at least", bound, unit, met ? "met" : "MISSED");
}

void RatioTarget(const std::string& what, double numerator, double denominator, bool atMost,
                 double bound) {
  if (numerator <= 0 || denominator <= 0) {
    std::printf("  %-46s %8s\n", what.c_str(), "n/a");
    return;
  }
  Target(what, numerator / denominator, "x", atMost, bound);
}

void RatioOnly(const std::string& what, double numerator, double denominator) {
  if (numerator <= 0 || denominator <= 0) return;
  std::printf("  %-46s %8.2fx  (no target)\n", what.c_str(), numerator / denominator);
}

// The targets the figures are held to.
constexpr double kFloorRatio = 4;        // a step against its honest floor
constexpr double kGrowth = 11;           // district10 against district, processor time
constexpr double kPeerRatio = 30;        // ogr2ogr against the engine writing ASIGT rows
constexpr double kMemoryBaseMb = 64;     // plus the course-hours and slots files

struct ScaleTimes {
  double exportSeconds = 0, importSeconds = 0, exportCpu = 0, importCpu = 0;
};

ScaleTimes BenchScale(const Scale& scale, const Options& options) {
  const std::string base = options.folder + "/" + scale.name;
  BenchFolders folders{base + "/rova", base + "/work", base + "/scratch"};
  std::filesystem::remove_all(base);
  for (const std::string& folder : {folders.rova, folders.work, folders.scratch + "/gdal"})
    std::filesystem::create_directories(folder);

  ChildResult generated = RunInChild(
      [&](Values&) {
        GenerateRovaFiles(scale, options.seed, folders.rova);
        GenerateSoluc(scale, options.seed, folders.work);
      },
      options.limitSeconds);
  if (!generated.ok) {
    std::printf("%s: generation failed: %s\n", scale.name.c_str(), generated.error.c_str());
    return {};
  }

  const std::vector<std::pair<std::string, std::vector<std::string>>> inputsOf = {
      {"ExportarAsignaturas", {"rova_asignat.txt"}},
      {"ExportarProfesores", {"rova_prof.txt"}},
      {"ExportarAulas", {"rova_aulas.txt"}},
      {"ExportarGrupos", {"rova_grupo.txt"}},
      {"ExportarAsignaturasGrupos", {"rova_asignatgrupo.txt", "rova_asignatcurso.txt"}},
      {"ExportarTramos", {"rova_sesiones.txt"}}};
  std::map<std::string, StepFigures> conversions;
  StepFigures exportStep, exportFloor, importStep, importFloor, asigtEngine, asigtGdal;
  // The runs after the first replace the tables the one before wrote: their old files are
  // moved aside, and this is the time that took (rows: the files moved).
  StepFigures keeping;
  keeping.timeOnly = true;
  for (const auto& [conversion, files] : inputsOf)
    for (const std::string& file : files) {
      double lines = static_cast<double>(CountLines(folders.rova + "/" + file));
      conversions[conversion].rows += lines;
      conversions[conversion].timeOnly = true;
      exportStep.rows += lines;
    }
  importStep.rows = static_cast<double>(scale.solucRows);
  exportFloor.rows = exportStep.rows;
  importFloor.rows = importStep.rows;
  asigtEngine.rows = asigtGdal.rows = static_cast<double>(scale.assignments);

  const bool gdal = ProgramInPath("ogr2ogr");
  if (gdal) WriteAsigtCsv(folders.scratch + "/asigt.csv", scale.assignments);

  for (int run = 0; run < options.runs; ++run) {
    ChildResult exported =
        RunInChild([&](Values& values) { ExportStage(folders, values); }, options.limitSeconds);
    exportStep.Add(exported, exported.values["seconds"]);
    for (auto& [name, step] : conversions) step.Add(exported, exported.values["seconds." + name]);
    if (exported.values["moves"] > 0) {
      keeping.rows = exported.values["moves"];
      keeping.Add(exported, exported.values["seconds.keeping"]);
    }
    ChildResult floor = RunInChild(
        [&](Values& values) { FloorStage(exported.values, folders, values); }, options.limitSeconds);
    exportFloor.Add(floor, floor.values["seconds"]);

    ChildResult imported =
        RunInChild([&](Values& values) { ImportStage(folders, values); }, options.limitSeconds);
    importStep.Add(imported, imported.values["seconds"]);
    floor = RunInChild(
        [&](Values& values) { FloorStage(imported.values, folders, values); }, options.limitSeconds);
    importFloor.Add(floor, floor.values["seconds"]);

    ChildResult engine = RunInChild(
        [&](Values& values) { AsigtWriteStage(folders, scale.assignments, values); },
        options.limitSeconds);
    asigtEngine.Add(engine, engine.values["seconds"]);
    if (gdal) {
      const std::string target = folders.scratch + "/gdal/ASIGT.dbf";
      std::filesystem::remove(target);
      ChildResult peer = RunProgram({"ogr2ogr", "-f", "ESRI Shapefile", target,
                                     folders.scratch + "/asigt.csv"},
                                    options.limitSeconds);
      if (peer.ok) peer.values["written"] = static_cast<double>(std::filesystem::file_size(target));
      peer.values["read"] = static_cast<double>(std::filesystem::file_size(folders.scratch + "/asigt.csv"));
      asigtGdal.Add(peer, peer.seconds);
    }
  }

  double load[3] = {0, 0, 0};
  getloadavg(load, 3);
  std::printf("\nscale %s, seed %llu, %d run(s), medians; %ld cores, load average %.2f at the end\n",
              scale.name.c_str(), static_cast<unsigned long long>(options.seed), options.runs,
              sysconf(_SC_NPROCESSORS_ONLN), load[0]);
  std::printf("  %-28s %9s %8s %11s %12s %9s %9s %8s\n", "step", "wall s", "cpu s", "rows",
              "rows/s", "MB read", "MB writ.", "peak MB");
  PrintStep("Export", exportStep);
  for (const auto& [name, files] : inputsOf) PrintStep("  " + name, conversions[name]);
  if (!keeping.seconds.empty()) PrintStep("  keeping replaced tables", keeping);
  PrintStep("Export floor (buffered I/O)", exportFloor);
  PrintStep("Import", importStep);
  PrintStep("Import floor (buffered I/O)", importFloor);
  PrintStep("ASIGT rows, engine", asigtEngine);
  if (gdal) PrintStep("ASIGT rows, ogr2ogr", asigtGdal);
  else std::printf("  ASIGT rows, ogr2ogr: not installed\n");

  const double memoryLimit =
      kMemoryBaseMb + (std::filesystem::file_size(folders.rova + "/rova_asignatcurso.txt") +
                       std::filesystem::file_size(folders.rova + "/rova_sesiones.txt")) / 1e6;
  std::printf("  targets (the floor ratios are goals at district; memory at every scale):\n");
  RatioTarget("Export / its floor, cpu", exportStep.MedianCpu(), exportFloor.MedianCpu(), true,
              kFloorRatio);
  RatioTarget("Export / its floor, wall", exportStep.MedianSeconds(),
              exportFloor.MedianSeconds(), true, kFloorRatio);
  RatioTarget("Import / its floor, cpu", importStep.MedianCpu(), importFloor.MedianCpu(), true,
              kFloorRatio);
  RatioTarget("Import / its floor, wall", importStep.MedianSeconds(),
              importFloor.MedianSeconds(), true, kFloorRatio);
  if (gdal) {
    RatioTarget("ogr2ogr / engine writing ASIGT rows, cpu", asigtGdal.MedianCpu(),
                asigtEngine.MedianCpu(), false, kPeerRatio);
    RatioTarget("ogr2ogr / engine writing ASIGT rows, wall", asigtGdal.MedianSeconds(),
                asigtEngine.MedianSeconds(), false, kPeerRatio);
  }
  char limit[64];
  const double limitMb = std::round(memoryLimit * 10) / 10;
  std::snprintf(limit, sizeof limit, " (limit %.1f MB)", limitMb);
  if (exportStep.error.empty())
    Target(std::string("Export peak memory") + limit, StepFigures::Median(exportStep.peakMb),
           "MB", true, limitMb);
  if (importStep.error.empty())
    Target(std::string("Import peak memory") + limit, StepFigures::Median(importStep.peakMb),
           "MB", true, limitMb);
  std::fflush(stdout);
  return {exportStep.MedianSeconds(), importStep.MedianSeconds(), exportStep.MedianCpu(),
          importStep.MedianCpu()};
}

// One step on the folders an earlier run generated, in this process.
int RunOneStep(const Scale& scale, const Options& options) {
  const std::string base = options.folder + "/" + scale.name;
  BenchFolders folders{base + "/rova", base + "/work", base + "/scratch"};
  if (!std::filesystem::exists(folders.rova + "/rova_asignat.txt")) {
    std::fprintf(stderr, "no generated folders in %s: run the benchmark on that scale first\n",
                 base.c_str());
    return 1;
  }
  Values values;
  try {
    if (options.step == "export") ExportStage(folders, values);
    else if (options.step == "import") ImportStage(folders, values);
    else AsigtWriteStage(folders, scale.assignments, values);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s failed: %s\n", options.step.c_str(), error.what());
    return 1;
  }
  std::printf("%s at %s: %.3f s wall, %.1f MB read, %.1f MB written\n", options.step.c_str(),
              scale.name.c_str(), values["seconds"], values["read"] / 1e6,
              values["written"] / 1e6);
  return 0;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string name = argv[i], value = argv[i + 1];
    if (name == "--scales") {
      options.scales.clear();
      std::istringstream list(value);
      for (std::string scale; std::getline(list, scale, ',');) options.scales.push_back(scale);
    } else if (name == "--runs") {
      options.runs = std::max(1, std::atoi(value.c_str()));
    } else if (name == "--seed") {
      options.seed = std::strtoull(value.c_str(), nullptr, 10);
    } else if (name == "--folder") {
      options.folder = value;
    } else if (name == "--step") {
      if (value != "export" && value != "import" && value != "asigt") return false;
      options.step = value;
    } else if (name == "--limit") {
      options.limitSeconds = std::max(1, std::atoi(value.c_str()));
    } else {
      return false;
    }
  }
  return argc % 2 == 1;
}

}  // namespace
}  // namespace norvalde::bench

int main(int argc, char** argv) {
  using namespace norvalde::bench;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: %s [--scales school,district,district10] [--runs 3] [--seed 1] "
                 "[--folder /tmp/norvalde-bench] [--limit 3600] [--step export|import|asigt]\n",
                 argv[0]);
    return 2;
  }
  if (!options.step.empty()) {
    auto scale = FindScale(options.scales.front());
    if (!scale) {
      std::fprintf(stderr, "unknown scale '%s'\n", options.scales.front().c_str());
      return 2;
    }
    return RunOneStep(*scale, options);
  }
  std::map<std::string, ScaleTimes> times;
  for (const std::string& name : options.scales) {
    auto scale = FindScale(name);
    if (!scale) {
      std::fprintf(stderr, "unknown scale '%s'\n", name.c_str());
      return 2;
    }
    times[name] = BenchScale(*scale, options);
  }
  if (times.count("district") && times.count("district10")) {
    std::printf("\ndistrict10 / district:\n");
    const ScaleTimes& small = times["district"];
    const ScaleTimes& large = times["district10"];
    RatioTarget("Export, cpu", large.exportCpu, small.exportCpu, true, kGrowth);
    RatioTarget("Import, cpu", large.importCpu, small.importCpu, true, kGrowth);
    RatioOnly("Export, wall", large.exportSeconds, small.exportSeconds);
    RatioOnly("Import, wall", large.importSeconds, small.importSeconds);
  }
  return 0;
}
