#include "platform/sim/frontends/terminal/DisplayPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/sim/frontends/terminal/Area.h"

namespace lumora::sim::terminal {
namespace {

std::string nits(std::optional<double> value) {
  if (!value) return "unknown";
  char text[32];
  std::snprintf(text, sizeof text, "%g nits", *value);
  return text;
}

std::string number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

std::string describeScreen(const std::optional<platform::Screen>& screen) {
  if (!screen) return "none";
  if (!screen->screenNumber) return "a screen without a display number";
  if (const auto* integer = std::get_if<std::int64_t>(&*screen->screenNumber)) {
    return "on display " + std::to_string(*integer);
  }
  char text[48];
  std::snprintf(text, sizeof text, "on display %g", std::get<double>(*screen->screenNumber));
  return text;
}

// The row of a value from 0 (bottom) to 1 (top), when it lies in that range.
std::optional<std::size_t> rowOf(double value, int rows) {
  if (!(value >= 0.0 && value <= 1.0)) return std::nullopt;
  const double fromTop = std::round((1.0 - value) * (rows - 1));
  return static_cast<std::size_t>(std::clamp(fromTop, 0.0, static_cast<double>(rows - 1)));
}

}  // namespace

std::vector<PanelLine> displayPanelLines(const SimDisplayState::Snapshot& snapshot,
                                         bool showsInDock) {
  std::vector<PanelLine> lines;
  lines.push_back({"Main display", std::to_string(snapshot.mainDisplay)});
  lines.push_back({"Main screen", describeScreen(snapshot.mainScreen)});
  for (const SimDisplayState::DisplaySnapshot& display : snapshot.displays) {
    const bool xdr = display.sdrNits && *display.sdrNits > 500.0;
    std::string title = "Display " + std::to_string(display.id);
    if (!display.name.empty()) title += " (" + display.name + ")";
    lines.push_back({title, ""});
    lines.push_back({"  Active preset", std::to_string(display.activeIndex) + "  \"" +
                                            display.activePresetName + "\""});
    lines.push_back({"  SDR ceiling", nits(display.sdrNits) + (xdr ? "  (XDR)" : ""), xdr});
    lines.push_back(
        {"  Slot 11", display.slot11Name ? "\"" + *display.slot11Name + "\"" : "empty"});
    lines.push_back({"  Gamma",
                     display.transferTables ? "table loaded by process " +
                                                  std::to_string(display.transferTables->owner.pid)
                                            : "calibrated (ColorSync)",
                     display.transferTables.has_value()});
    const bool boosted = display.givenNits > display.sdrNits.value_or(500.0) + 0.5;
    std::string window = "none";
    if (display.edrWindowShown) {
      window = "shown (1x1, asks for headroom), drawn " + std::to_string(display.edrWindowDraws) +
               (display.edrWindowDraws == 1 ? " time" : " times") +
               (display.edrWindowExcludedFromCapture ? ", out of screenshots" : "");
    }
    lines.push_back({"  EDR window", window, display.edrWindowShown});
    lines.push_back({"  Headroom",
                     number(display.currentHeadroom) + " of " + number(display.maximumHeadroom) +
                         ", gives " + nits(std::round(display.givenNits)) +
                         (display.overExposed ? ", over-exposed" : ""),
                     boosted});
  }
  const platform::PowerState& power = snapshot.power;
  std::string source = "no battery (a desktop Mac)";
  if (power.hasBattery) {
    source = (power.onBattery ? "on battery, " : "on AC, battery ") +
             std::to_string(power.batteryPercent) + "%";
  }
  lines.push_back({"Power", source, power.onBattery});
  lines.push_back({"Thermal state",
                   std::string(SimDisplayState::thermalStateName(power.thermalState)),
                   power.thermalState >= platform::ThermalState::serious});
  lines.push_back({"Dock",
                   showsInDock ? "Lumora Virir is in the Dock (regular app)"
                               : "not in the Dock (menu-bar only)",
                   showsInDock});
  return lines;
}

std::vector<std::string> transferCurve(const std::vector<float>& table, int columns, int rows) {
  if (columns < 2 || rows < 2) return {};
  std::vector<std::vector<std::string>> cells(
      static_cast<std::size_t>(rows),
      std::vector<std::string>(static_cast<std::size_t>(columns), " "));
  for (int column = 0; column < columns; ++column) {
    const double input = static_cast<double>(column) / (columns - 1);
    const auto column_ = static_cast<std::size_t>(column);
    if (const auto row = rowOf(input, rows)) cells[*row][column_] = "\u00B7";
    if (table.empty()) continue;
    const auto entry =
        static_cast<std::size_t>(std::lround(input * static_cast<double>(table.size() - 1)));
    if (const auto row = rowOf(static_cast<double>(table[entry]), rows))
      cells[*row][column_] = "\u2022";
  }
  std::vector<std::string> lines;
  for (const auto& row : cells) {
    std::string line;
    for (const std::string& cell : row)
      line += cell;
    lines.push_back(line);
  }
  return lines;
}

void drawDisplayPanel(CursesScreen& screen, const std::vector<PanelLine>& lines,
                      const SimDisplayState::Snapshot& snapshot, const Area& room,
                      const std::vector<Area>& covers) {
  const int width = room.right();
  const auto put = [&](int y, int x, std::string_view text, const Look& look) {
    if (y >= room.bottom()) return;
    screen.put(y, x, uncoveredText(covers, y, x, text, width), look);
  };
  int y = room.top + 1;
  put(y++, 2, "Simulated display", Look().withBold(true));
  const int labelWidth = 17;
  for (const PanelLine& line : lines) {
    put(y, 2, line.label, Look().withColor(platform::NamedColor::secondaryLabel));
    put(y, 2 + labelWidth, line.value,
        Look().withColor(line.highlight ? std::optional(platform::NamedColor::cyan)
                                        : std::nullopt));
    ++y;
  }
  // The transfer curve of the first display with a table, where there is room for it.
  const int curveColumns = 21;
  const int curveRows = 7;
  const int curveX = width - curveColumns - 3;
  if (curveX < 2 + labelWidth + 36) return;
  for (const SimDisplayState::DisplaySnapshot& display : snapshot.displays) {
    if (!display.transferTables) continue;
    put(room.top + 2, curveX, "Gamma of " + std::to_string(display.id),
        Look().withColor(platform::NamedColor::secondaryLabel));
    int row = room.top + 3;
    for (const std::string& line :
         transferCurve(display.transferTables->red, curveColumns, curveRows)) {
      put(row++, curveX, line, Look().withColor(platform::NamedColor::systemIndigo));
    }
    put(row, curveX, "\u2022 table  \u00B7 identity", Look().withDim(true));
    break;
  }
}

}  // namespace lumora::sim::terminal
