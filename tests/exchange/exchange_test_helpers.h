// What the exchange suites check beside a file's content: the names a folder holds
// (tests/support), the message an action fails with, and the text of a failed creation.
#pragma once

#include <string>

#include "platform/system_errors.h"
#include "tests/support/error_of.h"
#include "tests/support/temp_folder.h"

namespace norvalde::exchange::testing {

inline std::string CannotCreate(const std::string& path, int error) {
  return "Cannot create file \"" + path + "\". " + platform::SystemErrorText(error);
}

}  // namespace norvalde::exchange::testing
