#include "platform/system_errors.h"

#include <gtest/gtest.h>

namespace norvalde::platform {
namespace {

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
  for (int error : {2, 5, 13, 123456}) {
    const std::string text = SystemErrorText(error);
    EXPECT_FALSE(text.empty()) << error;
    EXPECT_EQ(text.find('\n'), std::string::npos) << error;
  }
  EXPECT_NE(SystemErrorText(2), SystemErrorText(13));
}

}  // namespace
}  // namespace norvalde::platform
