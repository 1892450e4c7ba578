// A small but complete ROVA folder and work folder: every input file with header, guard and
// trailer lines, accented Windows-1252 names, a repeated code and a blank field, and a SOLUC
// table whose lessons find their slots. Small, so a test can run a whole Export or Import
// once for every file operation it makes.
#pragma once

#include <string>

#include "platform/env.h"
#include "tests/support/test_folders.h"

namespace norvalde::faults {

// The seven input files written into the ROVA folder.
void WriteRovaFiles(const testing::TestFolders& folders);

// SOLUC.DBF in `workFolder`, written with the engine.
void WriteSoluc(platform::Env& env, const std::string& workFolder);

// The names of the seven input files.
inline constexpr const char* kRovaFileNames[] = {
    "rova_asignat.txt",      "rova_prof.txt",         "rova_aulas.txt",    "rova_grupo.txt",
    "rova_asignatgrupo.txt", "rova_asignatcurso.txt", "rova_sesiones.txt"};

}  // namespace norvalde::faults
