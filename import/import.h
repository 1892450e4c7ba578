// The Import: Plantivo's solution table SOLUC becomes ROVA_HORARIO.TXT in the chosen folder.
#pragma once

#include "core/action.h"
#include "import/import_tables.h"

namespace norvalde::importing {

// The Export's context: the chosen folder, the work folder (SOLUC and the other tables) and
// the message box.
using ImportContext = ActionContext;

// With the hourglass showing, reads the centre code and the day-numbering mode, opens the six tables exclusively, writes
// one lesson record per SOLUC row with a day, saves ROVA_HORARIO.TXT atomically, restores the
// cursor and shows "Proceso Terminado". Throws norvalde::Error on any failure, leaving an
// earlier ROVA_HORARIO.TXT as it was.
void RunImport(const ImportContext& context, ImportTables& tables);

}  // namespace norvalde::importing
