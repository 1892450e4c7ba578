#include "export/export.h"

#include "platform/error.h"
#include "tables/table_errors.h"

namespace norvalde::exporting {

// The order carries data: the assignments read the GRUPOST written just before them.
void RunExport(const ExportContext& context) {
  ExportarAsignaturas(context);
  ExportarProfesores(context);
  ExportarAulas(context);
  ExportarGrupos(context);
  ExportarAsignaturasGrupos(context);
  ExportarTramos(context);
  // The tables were deleted and created anew: their names must be as durable as their rows.
  if (int error = context.env.SyncFolder(context.workFolder)) {
    throw Error("No se puede escribir en la carpeta \"" + context.workFolder +
                "\": " + tables::FileErrorCause(error));
  }
  context.messages.RestoreCursor();
  context.messages.ShowMessage("Proceso finalizado");
}

}  // namespace norvalde::exporting
