#pragma once

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/sim/machine/InstanceLock.h"

namespace lumora::sim {

// The folders this process keeps its state in, each locked for the life of the process so that
// no second app runs on them. A folder renamed away and made again while the app runs is not the
// one locked: that is said once, the new folder is locked too (so that no second app starts on
// it), and nothing more is saved there. Any thread.
class FolderClaims {
 public:
  // The process's own claims, which its files consult.
  static FolderClaims& process();

  struct Outcome {
    // Another process holds the folder: `holder`, where its lock file names it (else 0).
    bool refused = false;
    pid_t holder = 0;
    // Why instance.lock could not be used, when it could not: for the caller to say once.
    std::string note;
  };
  // Locks `folder` for this process, making it when it is missing (see InstanceLock).
  Outcome claim(const std::filesystem::path& folder);

  struct Check {
    // The folder there is not the one claimed (or is gone): nothing is to be saved to it.
    bool replaced = false;
    // The line that says so, given to the first caller that finds out.
    std::optional<std::string> news;
  };
  // Whether `folder` is still the folder claimed; a folder never claimed always is. Once it is
  // not, each check locks a folder made in its place.
  Check check(const std::filesystem::path& folder);

 private:
  struct Claim {
    std::filesystem::path folder;
    std::vector<InstanceLock> locks;  // the first is the one taken at the start
    bool replaced = false;
    std::vector<std::pair<dev_t, ino_t>> tried;  // replacements this process tried to lock
  };
  void lockReplacement(Claim& claim, const struct stat& info);

  std::mutex mutex_;
  std::vector<Claim> claims_;
};

}  // namespace lumora::sim
