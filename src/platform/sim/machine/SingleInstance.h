#pragma once

#include "platform/sim/machine/SimPaths.h"

namespace lumora::sim {

// What a second app does when another already runs: it gives way quietly (status 0), as a
// second start of a menu-bar app does, or fails (status 1), as a check that cannot run does.
enum class SecondInstance { givesWay, fails };

// Makes this process the one app that keeps its state in the folders of `paths`, before it
// touches the display or the files there: when another process already does, says so on
// standard error and ends this one. Then removes the temporary files that writers which are gone
// left behind. The folders stay claimed until the process ends.
void becomeTheOnlyInstance(const SimPaths& paths, SecondInstance second = SecondInstance::givesWay);

}  // namespace lumora::sim
