#pragma once

#include <optional>

namespace lumora::platform {

// A copy of the app that the system lists as running.
struct RunningCopy {
  int processID = 0;
  // When it was launched, in seconds on one clock for all copies; none where unknown.
  std::optional<double> launchTime;
  bool terminated = false;
};

// Whether `self` gives way to `other`, so that one copy runs: the older stays. A copy that has
// ended does not count. Copies launched at the same moment, or of unknown age, go by process
// number, so that of two copies started together exactly one stays.
inline bool givesWayTo(const RunningCopy& self, const RunningCopy& other) {
  if (other.terminated || other.processID == self.processID) return false;
  if (self.launchTime && other.launchTime && *self.launchTime != *other.launchTime) {
    return *other.launchTime < *self.launchTime;
  }
  return other.processID < self.processID;
}

}  // namespace lumora::platform
