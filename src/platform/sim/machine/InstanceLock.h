#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/sim/machine/FileDescriptor.h"

namespace lumora::sim {

// One running app per folder of state, held for the life of the process (the system lets go
// however the process ends). Two locks are taken, always in this order: the folder itself, then
// its file instance.lock, which also names the holder for the message a second start gives. The
// folder's lock alone keeps a second app out when the file cannot be used (a directory, a link,
// another user's file); the file's keeps out earlier versions, which lock only the file.
class InstanceLock {
 public:
  struct Attempt;

  // Takes the locks of `folder`, making the folder first when `createFolder` says so. A folder
  // that cannot be opened gives a lock of nothing: the app runs, and saving there fails as it
  // would anyway.
  static Attempt acquire(const std::filesystem::path& folder, bool createFolder);

  bool holdsFolder() const { return folder_.valid(); }
  bool holdsFile() const { return file_.valid(); }
  // Whether `info` (of a folder) is the folder locked.
  bool isOf(const struct stat& info) const {
    return holdsFolder() && info.st_dev == device_ && info.st_ino == inode_;
  }

 private:
  InstanceLock() = default;

  FileDescriptor folder_;
  FileDescriptor file_;
  dev_t device_ = 0;
  ino_t inode_ = 0;
};

struct InstanceLock::Attempt {
  // None when another process holds either lock.
  std::optional<InstanceLock> lock;
  // That process, where instance.lock names it; 0 where it does not.
  pid_t holder = 0;
  // Why instance.lock could not be used, when it could not: said once, as the app runs anyway.
  std::string note;
};

}  // namespace lumora::sim
