// The Export: six conversions from the ROVA files of the chosen folder to the work tables.
#pragma once

#include <string>

#include "platform/env.h"
#include "platform/message_sink.h"

namespace norvalde::exporting {

// What every conversion works with: the chosen folder followed by one separator (`Carpeta`),
// the work folder, and the message box.
struct ExportContext {
  platform::Env& env;
  std::string carpeta;
  std::string workFolder;
  MessageSink& messages;
};

// Each returns normally when finished or when its input file is missing (after its message)
// and throws norvalde::Error on any other failure.
void ExportarAsignaturas(const ExportContext& context);        // rova_asignat.txt -> ASIGNOMT
void ExportarProfesores(const ExportContext& context);         // rova_prof.txt -> PROFT
void ExportarAulas(const ExportContext& context);              // rova_aulas.txt -> AULAT
void ExportarGrupos(const ExportContext& context);             // rova_grupo.txt -> GRUPOST
void ExportarAsignaturasGrupos(const ExportContext& context);  // -> ASIGT
void ExportarTramos(const ExportContext& context);             // rova_sesiones.txt -> DIASHORAST

// The six in order, each once; then the cursor goes back and "Proceso finalizado" is shown.
void RunExport(const ExportContext& context);

}  // namespace norvalde::exporting
