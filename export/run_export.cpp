#include "export/export.h"

namespace norvalde::exporting {

// The order carries data: the assignments read the GRUPOST written just before them.
void RunExport(const ActionContext& action, const ConversionDone& done) {
  const ExportContext context(action);
  RunAction(context, "Proceso finalizado", [&] {
    for (const Conversion& conversion : kConversions) {
      conversion.run(context);
      if (done) done(conversion.name);
    }
    // The old tables were moved aside and new ones created: their names must be as durable
    // as their rows.
    SyncFolderNames(context.env, context.workFolder);
    context.kept.Finish();
  });
}

}  // namespace norvalde::exporting
