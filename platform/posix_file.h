// An open file on POSIX systems: a descriptor read and written through, and for a file created
// unnamed (O_TMPFILE) the name it takes when closed.
#pragma once

#include <memory>
#include <string>

#include "platform/env.h"

namespace norvalde::platform {

// Takes over `fd`, which it closes. `unnamedPath`: the name an unnamed file takes when closed.
std::unique_ptr<File> MakePosixFile(int fd, std::string unnamedPath = {});

}  // namespace norvalde::platform
