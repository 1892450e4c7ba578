// Finding a ROVA input file in the chosen folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "export/export.h"

namespace norvalde::exporting {

// The path of `fileName` inside `Carpeta`, found ignoring case. When no such file exists,
// shows `missingMessage` and returns nothing.
std::optional<std::string> FindInputFile(const ExportContext& context, std::string_view fileName,
                                         std::string_view missingMessage);

}  // namespace norvalde::exporting
