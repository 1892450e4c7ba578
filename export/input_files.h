// Finding a ROVA input file in the chosen folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "export/export.h"

namespace norvalde::exporting {

// The path of `fileName` inside `Carpeta`, found ignoring case, or nothing when no such file
// exists.
std::optional<std::string> LocateInputFile(const ExportContext& context,
                                           std::string_view fileName);

// LocateInputFile, and when no such file exists, shows `missingMessage`.
std::optional<std::string> FindInputFile(const ExportContext& context, std::string_view fileName,
                                         std::string_view missingMessage);

}  // namespace norvalde::exporting
