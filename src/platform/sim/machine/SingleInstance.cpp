#include "platform/sim/machine/SingleInstance.h"

#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>

#include "platform/sim/machine/AtomicFile.h"
#include "platform/sim/machine/InstanceLock.h"

namespace lumora::sim {
namespace {

void claim(const std::filesystem::path& folder) {
  pid_t holder = 0;
  // Kept for the life of the process.
  static std::optional<InstanceLock> locks[2];
  static int taken = 0;
  std::optional<InstanceLock> lock = InstanceLock::acquire(folder, holder);
  if (!lock) {
    const std::string who = holder > 0 ? " (process " + std::to_string(holder) + ")" : "";
    const std::string line = "Lumora Virir is already running" + who + " with the files in " +
                             folder.string() + "; this one ends.\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(nullptr);
    _exit(0);
  }
  if (taken < 2) locks[taken++] = std::move(lock);
}

}  // namespace

void becomeTheOnlyInstance(const SimPaths& paths) {
  claim(paths.displayStateFile.parent_path());
  if (paths.defaultsFile.parent_path() != paths.displayStateFile.parent_path()) {
    claim(paths.defaultsFile.parent_path());
  }
  removeLeftoverTemporaryFiles(paths.displayStateFile);
  removeLeftoverTemporaryFiles(paths.defaultsFile);
}

}  // namespace lumora::sim
