#include "export/export.h"

#include "core/error.h"
#include "tables/table_errors.h"

namespace norvalde::exporting {

// The order carries data: the assignments read the GRUPOST written just before them.
void RunExport(const ExportContext& context, const ConversionDone& done) {
  RunAction(context, "Proceso finalizado", [&] {
    for (const Conversion& conversion : kConversions) {
      conversion.run(context);
      if (done) done(conversion.name);
    }
    // The tables were deleted and created anew: their names must be as durable as their rows.
    if (int error = context.env.SyncFolder(context.workFolder)) {
      throw Error("No se puede escribir en la carpeta \"" + context.workFolder +
                  "\": " + tables::FileErrorCause(error));
    }
  });
}

}  // namespace norvalde::exporting
