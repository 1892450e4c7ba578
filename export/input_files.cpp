#include "export/input_files.h"

namespace norvalde::exporting {

std::optional<std::string> LocateInputFile(const ExportContext& context,
                                           std::string_view fileName) {
  std::string path = context.env.FindFileIgnoringCase(context.carpeta + std::string(fileName));
  if (context.env.FileExists(path)) return path;
  return std::nullopt;
}

std::optional<std::string> FindInputFile(const ExportContext& context, std::string_view fileName,
                                         std::string_view missingMessage) {
  std::optional<std::string> path = LocateInputFile(context, fileName);
  if (!path) context.messages.ShowMessage(std::string(missingMessage));
  return path;
}

}  // namespace norvalde::exporting
