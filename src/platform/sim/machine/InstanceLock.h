#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>

#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {

// One running app per folder of state: a lock on a file in the folder, held for the life of the
// process (the system lets go of it however the process ends).
class InstanceLock {
 public:
  // Takes the lock of `folder`. None when another process holds it; `holder` then names that
  // process where the lock file says (0 where it does not). When the lock cannot be taken at all
  // (a folder that cannot be written), the app runs anyway: a lock without a file is returned.
  static std::optional<InstanceLock> acquire(const std::filesystem::path& folder, pid_t& holder);

  bool holdsFile() const { return fd_.valid(); }

 private:
  explicit InstanceLock(FileDescriptor fd) : fd_(std::move(fd)) {}
  FileDescriptor fd_;
};

}  // namespace lumora::sim
