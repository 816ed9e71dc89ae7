#include "platform/sim/frontends/headless/DisplaySummary.h"

#include <cstdio>

namespace lumora::sim {
namespace {

std::string formatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

std::string describeMainDisplay(const SimDisplayState::Snapshot& snapshot) {
  for (const SimDisplayState::DisplaySnapshot& display : snapshot.displays) {
    if (display.id != snapshot.mainDisplay) continue;
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
    return line;
  }
  return "display " + std::to_string(snapshot.mainDisplay) + ": not connected";
}

}  // namespace lumora::sim
