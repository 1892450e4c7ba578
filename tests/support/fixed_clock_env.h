// The real system with the clock stopped at a chosen minute.
#pragma once

#include "platform/env.h"

namespace norvalde::testing {

class FixedClockEnv : public platform::EnvWrapper {
 public:
  explicit FixedClockEnv(platform::LocalTime now = {2024, 3, 15, 9, 5},
                         platform::Env& target = platform::Env::Default())
      : EnvWrapper(target), now_(now) {}

  void SetNow(platform::LocalTime now) { now_ = now; }
  platform::LocalTime Now() override { return now_; }

 private:
  platform::LocalTime now_;
};

}  // namespace norvalde::testing
