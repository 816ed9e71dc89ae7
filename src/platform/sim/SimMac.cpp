#include "platform/sim/SimMac.h"

namespace lumora::sim {

SimMac::SimMac(const SimPaths& paths)
    : displayState(paths.displayStateFile, console),
      userDefaults(paths.defaultsFile, console),
      loginItems(paths.autostartDirectory, paths.program) {}

}  // namespace lumora::sim
