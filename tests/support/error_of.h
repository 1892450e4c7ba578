// The message a test expects an action to fail with, read in one expression.
#pragma once

#include <functional>
#include <string>

#include "core/error.h"

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

}  // namespace norvalde::testing
