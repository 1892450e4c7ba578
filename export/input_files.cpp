#include "export/input_files.h"

namespace norvalde::exporting {

std::optional<std::string> FindInputFile(const ExportContext& context, std::string_view fileName,
                                         std::string_view missingMessage) {
  std::string path = context.env.FindFileIgnoringCase(context.carpeta + std::string(fileName));
  if (context.env.FileExists(path)) return path;
  context.messages.ShowMessage(std::string(missingMessage));
  return std::nullopt;
}

}  // namespace norvalde::exporting
