#include "tables/table_errors.h"

#include "core/error.h"
#include "platform/system_errors.h"

namespace norvalde::tables {

std::string FileErrorCause(int systemError) {
  // The run-time codes are the same on every platform, so one table of causes serves all.
  using namespace platform::runtime_code;
  switch (platform::RuntimeErrorCode(systemError)) {
    case kFileNotFound: return "no existe el archivo";
    case kPathNotFound: return "no existe la carpeta o el nombre no es válido";
    case kTooManyOpenFiles: return "hay demasiados archivos abiertos";
    case kAccessDenied: return "acceso denegado";
    case kSharingViolation:
    case kLockViolation: return "la tabla está en uso por otro programa";
    case kHandleDiskFull:
    case kDiskFull:
    case kSystemDiskFull: return "el disco está lleno";
    default: return platform::SystemErrorText(systemError);
  }
}

void ThrowTableError(const std::string& what, const std::string& path, const std::string& cause) {
  throw Error(what + " \"" + path + "\": " + cause);
}

}  // namespace norvalde::tables
