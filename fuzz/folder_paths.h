// The files of the whole-run harnesses, in the order of their parts in a fuzz input.
#pragma once

#include <string>
#include <vector>

namespace norvalde::fuzzing {

inline const std::string kRovaFolder = "/rova/";  // the chosen folder, ending in a separator
inline const std::string kWorkFolder = "/qtemp";

// The Export's seven ROVA inputs.
inline std::vector<std::string> ExportInputPaths() {
  std::vector<std::string> paths;
  for (const char* name : {"rova_asignat.txt", "rova_prof.txt", "rova_aulas.txt",
                           "rova_grupo.txt", "rova_asignatgrupo.txt", "rova_asignatcurso.txt",
                           "rova_sesiones.txt"}) {
    paths.push_back(kRovaFolder + name);
  }
  return paths;
}

// The Import's two ROVA inputs and six tables.
inline std::vector<std::string> ImportInputPaths() {
  std::vector<std::string> paths = {kRovaFolder + "rova_asignat.txt",
                                    kRovaFolder + "rova_sesiones.txt"};
  for (const char* table : {"SOLUC", "DIASHORAST", "GRUPOST", "PROFT", "AULAT", "ASIGNOMT"}) {
    paths.push_back(kWorkFolder + "/" + table + ".DBF");
  }
  return paths;
}

}  // namespace norvalde::fuzzing
