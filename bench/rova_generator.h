// Writes synthetic ROVA folders and timetable solution tables of a chosen size, the same bytes
// for the same seed. The data has the shapes real files have: Windows-1252 accented names,
// repeated codes, header, trailer and guard lines, and about one detail line in twenty with a
// blank field.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/scales.h"
#include "tables/table.h"

namespace norvalde::bench {

// The seven input files (rova_asignat.txt ... rova_sesiones.txt) in `folder`, which must exist.
// Throws std::runtime_error when a file cannot be written.
void GenerateRovaFiles(const Scale& scale, uint64_t seed, const std::string& folder);

// The fields of SOLUC that the Import reads, in the timetabling program's order.
std::vector<tables::FieldDefinition> SolucFields();

// SOLUC.DBF in `workFolder`, written with the table engine (norvalde::Error on failure): one
// lesson per row, its day and period among the generated slots (so the Import finds their
// codes), a few rows without a day.
void GenerateSoluc(const Scale& scale, uint64_t seed, const std::string& workFolder);

// The code of the index-th subject, teacher, room or group: four characters, unique.
std::string Code4(int64_t index);

}  // namespace norvalde::bench
