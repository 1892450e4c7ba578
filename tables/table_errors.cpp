#include "tables/table_errors.h"

#include "platform/error.h"
#include "platform/system_errors.h"

namespace norvalde::tables {

std::string FileErrorCause(int systemError) {
  // The run-time codes are the same on every platform, so one table of causes serves all.
  switch (platform::RuntimeErrorCode(systemError)) {
    case 2: return "no existe el archivo";
    case 3: return "no existe la carpeta o el nombre no es válido";
    case 4: return "hay demasiados archivos abiertos";
    case 5: return "acceso denegado";
    case 32:
    case 33: return "la tabla está en uso por otro programa";
    case 39:
    case 101:
    case 112: return "el disco está lleno";
    default: return platform::SystemErrorText(systemError);
  }
}

void ThrowTableError(const std::string& what, const std::string& path, const std::string& cause) {
  throw Error(what + " \"" + path + "\": " + cause);
}

}  // namespace norvalde::tables
