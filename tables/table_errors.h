// The engine's error texts: every failure names the table file and the cause in Spanish.
#pragma once

#include <string>

namespace norvalde::tables {

// The cause of a failed file operation, from the operating system's error number.
std::string FileErrorCause(int systemError);

// Throws norvalde::Error: `<what> "<path>": <cause>`, e.g.
// No se puede abrir la tabla "C:\QTEMP\SOLUC.DBF": no existe el archivo
[[noreturn]] void ThrowTableError(const std::string& what, const std::string& path,
                                  const std::string& cause);

}  // namespace norvalde::tables
