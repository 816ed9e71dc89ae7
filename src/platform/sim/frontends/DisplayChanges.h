#pragma once

#include <algorithm>

#include "platform/sim/machine/SimDisplayState.h"

namespace lumora::sim {

// Whether the front ends show the same for both readings of the displays: the displays' file is
// read again at every tick, and only a change is worth drawing or printing.
inline bool sameDisplays(const SimDisplayState::Snapshot& a, const SimDisplayState::Snapshot& b) {
  const auto sameScreen = [](const std::optional<platform::Screen>& x,
                             const std::optional<platform::Screen>& y) {
    return x.has_value() == y.has_value() && (!x || x->screenNumber == y->screenNumber);
  };
  // A table is shown by its owner and its red curve.
  const auto sameTables = [](const std::optional<SimDisplayState::TransferTables>& x,
                             const std::optional<SimDisplayState::TransferTables>& y) {
    return x.has_value() == y.has_value() &&
           (!x || (x->owner.pid == y->owner.pid && x->red == y->red));
  };
  const auto sameDisplay = [&](const SimDisplayState::DisplaySnapshot& x,
                               const SimDisplayState::DisplaySnapshot& y) {
    return x.id == y.id && x.name == y.name && x.activeIndex == y.activeIndex &&
           x.activePresetName == y.activePresetName && x.sdrNits == y.sdrNits &&
           x.slot11Name == y.slot11Name && sameTables(x.transferTables, y.transferTables) &&
           x.builtIn == y.builtIn && x.edrWindowShown == y.edrWindowShown &&
           x.edrWindowDraws == y.edrWindowDraws && x.currentHeadroom == y.currentHeadroom &&
           x.maximumHeadroom == y.maximumHeadroom && x.givenNits == y.givenNits &&
           x.overExposed == y.overExposed;
  };
  return a.mainDisplay == b.mainDisplay && a.builtInDisplay == b.builtInDisplay &&
         a.power == b.power && sameScreen(a.mainScreen, b.mainScreen) &&
         std::equal(a.displays.begin(), a.displays.end(), b.displays.begin(), b.displays.end(),
                    sameDisplay);
}

}  // namespace lumora::sim
