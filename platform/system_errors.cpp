#include "platform/system_errors.h"

#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace norvalde::platform {

using namespace runtime_code;

int RuntimeErrorCode(int systemError) {
#ifdef _WIN32
  return systemError;  // the library's codes are the Windows error codes
#else
  switch (systemError) {
    case ENOENT: return kFileNotFound;
    // A missing folder on the way: Windows' "path not found".
    case ENOTDIR:
    case ENAMETOOLONG: return kPathNotFound;
    case EMFILE: return kTooManyOpenFiles;
    case EACCES:
    case EPERM:
    // Windows refuses to open a folder as a file with "access denied"; so do we.
    case EISDIR: return kAccessDenied;
    // A refused lock is what Windows reports as a sharing violation.
    case EWOULDBLOCK: return kSharingViolation;
    // Windows' "the file exists" for a name taken when creating exclusively.
    case EEXIST: return kFileExists;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    // EIO's own number (5) is the library's "access denied"; Windows has its own device fault.
    case EIO: return kDeviceFault;
    default: return systemError;
  }
#endif
}

bool RefusesWriting(int systemError) {
#ifdef _WIN32
  return systemError == ERROR_ACCESS_DENIED || systemError == ERROR_WRITE_PROTECT;
#else
  return systemError == EACCES || systemError == EPERM || systemError == EROFS;
#endif
}

bool NameTaken(int systemError) {
#ifdef _WIN32
  return systemError == ERROR_ALREADY_EXISTS || systemError == ERROR_FILE_EXISTS;
#else
  return systemError == EEXIST;
#endif
}

std::string InOutErrorMessage(int runtimeCode) {
  switch (runtimeCode) {
    case kFileNotFound: return "No se encuentra el archivo";
    case kPathNotFound: return "Nombre de archivo inválido";
    case kTooManyOpenFiles: return "Demasiados archivos abiertos";
    case kAccessDenied: return "Acceso al archivo denegado";
    case runtime_code::kReadPastEnd: return "Se intenta leer después del fin del archivo";
    case kDiskFull: return "Disco lleno";
    case kInvalidNumericInput: return "Valor numérico de entrada inválido";
    default: return "Error de E/S " + std::to_string(runtimeCode);
  }
}

#ifdef _WIN32

std::string SystemErrorText(int systemError) {
  wchar_t* wide = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, static_cast<DWORD>(systemError), 0, reinterpret_cast<wchar_t*>(&wide), 0, nullptr);
  std::string text;
  if (length > 0) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0,
                                   nullptr, nullptr);
    text.resize(static_cast<size_t>(size));
    WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), text.data(), size, nullptr,
                        nullptr);
  }
  LocalFree(wide);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  if (text.empty()) text = "Error " + std::to_string(systemError);
  return text;
}

#else

namespace {

// strerror_r comes in two shapes (GNU returns the text, POSIX fills the buffer); the overload
// picks whichever this C library declares.
[[maybe_unused]] const char* ErrorTextFrom(const char* result, const char*) { return result; }
[[maybe_unused]] const char* ErrorTextFrom(int result, const char* buffer) {
  return result == 0 ? buffer : nullptr;
}

}  // namespace

std::string SystemErrorText(int systemError) {
  char buffer[256] = {};
  const char* text = ErrorTextFrom(strerror_r(systemError, buffer, sizeof buffer), buffer);
  std::string result = text ? text : "";
  while (!result.empty() && result.back() == '\n') result.pop_back();
  if (result.empty()) result = "Error " + std::to_string(systemError);
  return result;
}

#endif

}  // namespace norvalde::platform
