#include "sim/DisplaySummary.h"

#include <cstdio>

#include "sim/Plist.h"

namespace lumora::sim {
namespace {

std::string formatNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

}  // namespace

std::string describeMainDisplay(SimDisplayState& state) {
  const platform::DisplayID display = state.mainDisplayID();
  const std::int32_t active = state.activePresetIndex(display);
  std::string line = "display " + std::to_string(display) + ": preset " + std::to_string(active);
  const PlistPtr preset = state.copyPreset(display, active);
  if (const std::optional<std::string> name = stringValue(dictItem(preset.get(), "PresetName"))) {
    line += " \"" + *name + "\"";
  }
  const plist_t ceiling = dictItem(preset.get(), "PresetMaxSDRLuminance");
  if (const std::optional<double> nits = realValue(ceiling)) {
    line += ", SDR " + formatNumber(*nits) + " nits";
  } else if (const std::optional<std::int64_t> whole = integerValue(ceiling)) {
    line += ", SDR " + std::to_string(*whole) + " nits";
  }
  const PlistPtr slot = state.copyPreset(display, 11);
  line += slot ? ", slot 11 filled" : ", slot 11 empty";
  const auto tables = state.transferTables(display);
  if (!tables) {
    line += ", gamma: calibrated";
  } else {
    const std::size_t middle = tables->red.size() / 2;
    line += ", gamma: table of " + std::to_string(tables->red.size()) + " (mid-point " +
            formatNumber(tables->red[middle]) + ")";
  }
  return line;
}

}  // namespace lumora::sim
