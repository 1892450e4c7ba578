// The measured steps of the benchmark. Each runs in a child process (child_process.h) and
// reports its own wall time ("seconds") and the bytes it moved ("read", "written").
#pragma once

#include <cstdint>
#include <string>

#include "bench/child_process.h"

namespace norvalde::bench {

struct BenchFolders {
  std::string rova;     // the ROVA files, without a final separator
  std::string work;     // the work folder with SOLUC, where the Export writes its tables
  std::string scratch;  // for the floor's files and the ASIGT comparison
};

// The six conversions of the Export in order, each timed ("seconds.ExportarAsignaturas", ...),
// the bytes it moved, the files the floor moves ("input:<path>", "output:<path>",
// "sync:<path>", "rename:<path>"), and the keeping of the tables it replaced: the files moved
// aside ("moves") and the time that took with its folder work ("seconds.keeping").
void ExportStage(const BenchFolders& folders, Values& values);

// The Import on the tables the Export left, with the same per-file traffic.
void ImportStage(const BenchFolders& folders, Values& values);

// The honest floor of a stage: plain buffered I/O reading each of its inputs once, and writing
// each file it left written once, for as many bytes, into as many new files; each synced when
// the stage synced its own, and written under a temporary name, renamed and its folder synced
// when the stage renamed its own into place.
void FloorStage(const Values& stageTraffic, const BenchFolders& folders, Values& values);

// The engine writing `rows` ASIGT-shaped rows into a new table in the scratch folder.
void AsigtWriteStage(const BenchFolders& folders, int64_t rows, Values& values);

// The same rows as CSV with the field types beside it (.csvt), for ogr2ogr.
void WriteAsigtCsv(const std::string& csvPath, int64_t rows);

}  // namespace norvalde::bench
