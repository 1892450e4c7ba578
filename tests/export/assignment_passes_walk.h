// The assignments conversion as four plain passes over ASIGT, each a scan from the start: the
// rows of rova_asignatgrupo.txt; each row's group data, GRUPOST walked from its first row; its
// hours, the course-hours lines walked from the first; the default hours. Slow, and written to
// be obviously what the passes say, so that the conversion's one-pass writing can be compared
// with it on any data and any failure.
#pragma once

#include "export/export.h"

namespace norvalde::exporting::testing {

void WalkAssignmentPasses(const ExportContext& context);

}  // namespace norvalde::exporting::testing
