#pragma once

#include <sys/types.h>

#include <cstdint>

namespace lumora::sim {

// A process, told apart from a later one that reuses its number by its start time.
struct ProcessIdentity {
  pid_t pid = 0;
  std::int64_t startTime = 0;  // clock ticks after boot; 0 when the system does not say

  static ProcessIdentity current();
  bool isRunning() const;
};

}  // namespace lumora::sim
