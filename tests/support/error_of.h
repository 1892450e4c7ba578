// The message a test expects an action to fail with, read in one expression, and the file
// messages of the run-time library.
#pragma once

#include <functional>
#include <string>

#include "core/error.h"
#include "platform/system_errors.h"

namespace norvalde::testing {

// The message of the norvalde::Error that `action` raises, or "<no error>" when it raises none.
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Error& error) {
    return error.what();
  }
  return "<no error>";
}

// The messages of a file that could not be opened or created, with the system's text for
// `error`.
inline std::string CannotOpen(const std::string& path, int error) {
  return "Cannot open file \"" + path + "\". " + platform::SystemErrorText(error);
}
inline std::string CannotCreate(const std::string& path, int error) {
  return "Cannot create file \"" + path + "\". " + platform::SystemErrorText(error);
}

}  // namespace norvalde::testing
