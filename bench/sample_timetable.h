// A solved timetable for the sample school of samples/: the SOLUC table a timetabling program
// would leave for its three groups, so the demo's Import has something to return.
#pragma once

#include <string>

namespace norvalde::bench {

// SOLUC.DBF in `workFolder`, which must exist, written with the table engine
// (norvalde::Error on failure). Every row is a placed lesson; for each day and period no
// teacher, group or room appears twice.
void GenerateSampleSoluc(const std::string& workFolder);

}  // namespace norvalde::bench
