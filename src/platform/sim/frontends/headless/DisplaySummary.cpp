#include "platform/sim/frontends/headless/DisplaySummary.h"

#include <cmath>
#include <cstdio>

namespace lumora::sim {

std::string formatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

const SimDisplayState::DisplaySnapshot* drivenDisplay(const SimDisplayState::Snapshot& snapshot) {
  return snapshot.display(snapshot.builtInDisplay.value_or(snapshot.mainDisplay));
}

std::string describeDrivenDisplay(const SimDisplayState::Snapshot& snapshot) {
  if (const SimDisplayState::DisplaySnapshot* found = drivenDisplay(snapshot)) {
    const SimDisplayState::DisplaySnapshot& display = *found;
    std::string line =
        "display " + std::to_string(display.id) + ": preset " + std::to_string(display.activeIndex);
    if (!display.activePresetName.empty()) line += " \"" + display.activePresetName + "\"";
    if (display.sdrNits) line += ", SDR " + formatNumber(*display.sdrNits) + " nits";
    line += display.slot11Name ? ", slot 11 filled" : ", slot 11 empty";
    if (!display.transferTables) {
      line += ", gamma: calibrated";
    } else {
      const std::vector<float>& red = display.transferTables->red;
      line += ", gamma: table of " + std::to_string(red.size()) + " (mid-point " +
              formatNumber(static_cast<double>(red[red.size() / 2])) + ")";
    }
    line += ", gives " + formatNumber(std::round(display.givenNits)) + " nits, headroom " +
            formatNumber(display.currentHeadroom);
    if (display.overExposed) line += ", over-exposed";
    return line;
  }
  return "display " + std::to_string(snapshot.mainDisplay) + ": not connected";
}

}  // namespace lumora::sim
