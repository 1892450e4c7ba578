// The one kind of error the core raises: a failure that ends the running action. Its text is
// the message the user reads, in UTF-8, exactly as the error box will show it (before the
// box's own closing period).
#pragma once

#include <stdexcept>
#include <string>

namespace norvalde {

class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace norvalde
