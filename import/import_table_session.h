// The Import's six tables held open exclusively for one run.
//
// They are opened in the order SOLUC, GRUPOST, PROFT, AULAT, ASIGNOMT, DIASHORAST and closed in
// that same order. Four of them are never read: holding them keeps Plantivo from changing the
// work folder while the timetable is being written, and a missing one ends the run. When the
// run fails, the tables opened so far are closed anyway, so the next run can open them.
#pragma once

#include <string>
#include <vector>

#include "import/import_tables.h"

namespace norvalde::importing {

class ImportTableSession {
 public:
  // Opens the six tables of `workFolder`; the first that cannot be opened ends it with the
  // engine's error, after the ones already open have been closed.
  ImportTableSession(ImportTables& components, const std::string& workFolder);
  // Closes whatever is still open, ignoring errors: only reached on a failed run.
  ~ImportTableSession();
  ImportTableSession(const ImportTableSession&) = delete;
  ImportTableSession& operator=(const ImportTableSession&) = delete;

  // Closes the six in opening order; a failure is the engine's error.
  void Close();

 private:
  void CloseQuietly() noexcept;

  std::vector<tables::Table*> opened_;
};

}  // namespace norvalde::importing
