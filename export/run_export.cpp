#include "export/export.h"

namespace norvalde::exporting {

// The order carries data: the assignments read the GRUPOST written just before them.
void RunExport(const ExportContext& context) {
  ExportarAsignaturas(context);
  ExportarProfesores(context);
  ExportarAulas(context);
  ExportarGrupos(context);
  ExportarAsignaturasGrupos(context);
  ExportarTramos(context);
  context.messages.RestoreCursor();
  context.messages.ShowMessage("Proceso finalizado");
}

}  // namespace norvalde::exporting
