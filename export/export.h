// The Export: six conversions from the ROVA files of the chosen folder to the work tables.
#pragma once

#include <functional>

#include "core/action.h"
#include "export/kept_tables.h"

namespace norvalde::exporting {

// What every conversion works with: the action's context (the chosen folder followed by one
// separator, `Carpeta`, the work folder and the message box, as the Import has them), and what
// the run keeps of the tables it replaces.
struct ExportContext : ActionContext {
  // Implicit, so that a conversion run on its own is an Export run of its own. Reads the
  // clock: the run starts here.
  ExportContext(const ActionContext& action)
      : ActionContext(action), kept(action.env, action.workFolder) {}

  // The one part of the context that changes as the run goes.
  mutable KeptTables kept;
};

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

// The hourglass; the six in order, each once; the moved and created names made durable and
// the oldest kept runs removed; then the cursor goes back and "Proceso finalizado" is shown.
void RunExport(const ActionContext& action, const ConversionDone& done = {});

}  // namespace norvalde::exporting
