#pragma once

#include "platform/sim/machine/SimPaths.h"

namespace lumora::sim {

// Makes this process the one app that keeps its state in the folders of `paths`, before it
// touches the display or the files there: when another process already does, says so on
// standard error and ends this one with status 0. Then removes the temporary files that writers
// which are gone left behind. The folders stay claimed until the process ends.
void becomeTheOnlyInstance(const SimPaths& paths);

}  // namespace lumora::sim
