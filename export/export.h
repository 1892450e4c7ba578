// The Export: six conversions from the ROVA files of the chosen folder to the work tables.
#pragma once

#include <functional>

#include "core/action.h"

namespace norvalde::exporting {

// What every conversion works with: the chosen folder followed by one separator (`Carpeta`),
// the work folder, and the message box. The Import runs in the same context.
using ExportContext = ActionContext;

// Each returns normally when finished or when its input file is missing (after its message)
// and throws norvalde::Error on any other failure.
void ExportarAsignaturas(const ExportContext& context);        // rova_asignat.txt -> ASIGNOMT
void ExportarProfesores(const ExportContext& context);         // rova_prof.txt -> PROFT
void ExportarAulas(const ExportContext& context);              // rova_aulas.txt -> AULAT
void ExportarGrupos(const ExportContext& context);             // rova_grupo.txt -> GRUPOST
void ExportarAsignaturasGrupos(const ExportContext& context);  // -> ASIGT
void ExportarTramos(const ExportContext& context);             // rova_sesiones.txt -> DIASHORAST

// The six conversions in the order the Export runs them, each with its name.
struct Conversion {
  const char* name;
  void (*run)(const ExportContext& context);
};
inline constexpr Conversion kConversions[] = {
    {"ExportarAsignaturas", ExportarAsignaturas},
    {"ExportarProfesores", ExportarProfesores},
    {"ExportarAulas", ExportarAulas},
    {"ExportarGrupos", ExportarGrupos},
    {"ExportarAsignaturasGrupos", ExportarAsignaturasGrupos},
    {"ExportarTramos", ExportarTramos},
};

// Told the name of each conversion as it finishes (the benchmark times them this way).
using ConversionDone = std::function<void(const char* name)>;

// The hourglass; the six in order, each once; then the cursor goes back and "Proceso
// finalizado" is shown.
void RunExport(const ExportContext& context, const ConversionDone& done = {});

}  // namespace norvalde::exporting
