// A small but complete ROVA folder and work folder: every input file with header, guard and
// trailer lines, accented Windows-1252 names, a repeated code and a blank field, and a SOLUC
// table whose lessons find their slots. Small, so a test can run a whole Export or Import
// once for every file operation it makes.
#pragma once

#include <string>

#include "platform/env.h"
#include "tests/support/test_folders.h"

namespace norvalde::faults {

// The seven input files written into the ROVA folder, and SOLUC.DBF into the work folder
// through `env`.
void WriteInputs(const testing::TestFolders& folders, platform::Env& env);

// The timetable an earlier Import left, which a failed run must leave as it was.
inline const std::string kEarlierHorario = "0EARLIER\r\n1KEEP ME\r\n9EARLIER 1\r\n";

// The inputs written, an Export run through `env` (so a later one replaces its tables), and
// kEarlierHorario as ROVA_HORARIO.TXT.
void PrepareExported(testing::TestFolders& folders, platform::Env& env);

// The names of the seven input files.
inline constexpr const char* kRovaFileNames[] = {
    "rova_asignat.txt",      "rova_prof.txt",         "rova_aulas.txt",    "rova_grupo.txt",
    "rova_asignatgrupo.txt", "rova_asignatcurso.txt", "rova_sesiones.txt"};

}  // namespace norvalde::faults
