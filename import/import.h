// The Import: Plantivo's solution table SOLUC becomes ROVA_HORARIO.TXT in the chosen folder.
#pragma once

#include <string>

#include "platform/env.h"
#include "platform/message_sink.h"
#include "tables/work_tables.h"

namespace norvalde::importing {

struct ImportContext {
  platform::Env& env;
  std::string carpeta;     // the chosen folder followed by one separator
  std::string workFolder;  // where SOLUC and the other tables live
  MessageSink& messages;
};

// Reads the centre code and the day-numbering mode, opens the six tables exclusively, writes
// one lesson record per SOLUC row with a day, saves ROVA_HORARIO.TXT atomically, restores the
// cursor and shows "Proceso Terminado". Throws norvalde::Error on any failure, leaving an
// earlier ROVA_HORARIO.TXT as it was.
void RunImport(const ImportContext& context, tables::ImportTables& tables);

}  // namespace norvalde::importing
