// The run folders inside the keeping folder: one per Export run that replaced a table, named
// by the run's start, the ten newest kept.
#pragma once

#include <string>

#include "platform/env.h"

namespace norvalde::exporting {

// "AAAA-MM-DD hh.mm.ss" of `start` (dots, since Windows allows no colons in a name), followed
// by " (n)" when `n` is 2 or more, for a name already taken.
std::string RunFolderName(const platform::LocalTime& start, int n);

// Removes the run folders of `keepingFolder` older than its ten newest, `current` never. Only
// what an Export put there goes: a run folder is a folder (not a link) whose name RunFolderName
// can give; from it the six work tables' files (.DBF and .MDX, the names compared ignoring
// ASCII case) are deleted, then the folder itself when that left it empty. Everything else
// stays, and every failure is passed over: an old run left behind harms nothing.
void RemoveOldRunFolders(platform::Env& env, const std::string& keepingFolder,
                         const std::string& current);

}  // namespace norvalde::exporting
