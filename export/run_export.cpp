#include "export/export.h"

namespace norvalde::exporting {

// The order carries data: the assignments read the GRUPOST written just before them.
void RunExport(const ExportContext& context, const ConversionDone& done) {
  RunAction(context, "Proceso finalizado", [&] {
    for (const Conversion& conversion : kConversions) {
      conversion.run(context);
      if (done) done(conversion.name);
    }
  });
}

}  // namespace norvalde::exporting
