// The real system, counting the bytes each file path had read from it and written to it, so
// the benchmark reports what a stage moved and the floor can move the same.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "platform/env.h"

namespace norvalde::bench {

struct FileTraffic {
  uint64_t bytesRead = 0;
  uint64_t bytesWritten = 0;
  bool synced = false;
};

class CountingEnv : public platform::EnvWrapper {
 public:
  explicit CountingEnv(platform::Env& target) : EnvWrapper(target) {}

  int Open(const std::string& path, platform::OpenMode mode,
           std::unique_ptr<platform::File>& file) override;

  // Per path as opened; shared with the open files, which may outlive a call.
  const std::map<std::string, FileTraffic>& traffic() const { return *traffic_; }
  uint64_t TotalRead() const;
  uint64_t TotalWritten() const;

 private:
  std::shared_ptr<std::map<std::string, FileTraffic>> traffic_ =
      std::make_shared<std::map<std::string, FileTraffic>>();
};

}  // namespace norvalde::bench
