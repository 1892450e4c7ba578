#include "platform/system_errors.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace norvalde::platform {
namespace {

TEST(RuntimeErrorCode, MapsSystemErrorsOntoTheLibraryCodes) {
  const struct {
    int systemError;
    int code;
  } cases[] = {
      {ENOENT, 2}, {ENAMETOOLONG, 3}, {ENOTDIR, 3}, {EMFILE, 4}, {EACCES, 5}, {EPERM, 5},
      {EISDIR, 5}, {EWOULDBLOCK, 32}, {ENOSPC, 101}, {EIO, 1117}, {EROFS, EROFS},
  };
  for (const auto& c : cases) EXPECT_EQ(RuntimeErrorCode(c.systemError), c.code) << c.systemError;
}

TEST(InOutErrorMessage, GivesTheLibraryTextForEachCode) {
  const struct {
    int code;
    const char* message;
  } cases[] = {
      {2, "No se encuentra el archivo"},
      {3, "Nombre de archivo inválido"},
      {4, "Demasiados archivos abiertos"},
      {5, "Acceso al archivo denegado"},
      {100, "Se intenta leer después del fin del archivo"},
      {101, "Disco lleno"},
      {106, "Valor numérico de entrada inválido"},
      {32, "Error de E/S 32"},
      {0, "Error de E/S 0"},
      {1117, "Error de E/S 1117"},
  };
  for (const auto& c : cases) EXPECT_EQ(InOutErrorMessage(c.code), c.message);
}

TEST(SystemErrorText, IsTheSystemsOwnTextOnOneLine) {
  for (int error : {ENOENT, EACCES, EWOULDBLOCK, 123456}) {
    const std::string text = SystemErrorText(error);
    EXPECT_FALSE(text.empty()) << error;
    EXPECT_EQ(text.find('\n'), std::string::npos) << error;
  }
  EXPECT_NE(SystemErrorText(ENOENT), SystemErrorText(EACCES));
}

}  // namespace
}  // namespace norvalde::platform
