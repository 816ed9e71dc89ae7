#include "platform/sim/frontends/terminal/SliderRow.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/sim/frontends/terminal/TextWidth.h"

namespace lumora::sim::terminal {
namespace {

constexpr int shortestTrack = 12;

}  // namespace

int sliderRowWidth(const platform::MenuSlider& slider) {
  return shortestTrack + 1 + displayWidth(slider.valueLabel);
}

int trackCell(const platform::MenuSlider& slider, double value, int cells) {
  const double span = slider.maximum - slider.minimum;
  if (cells <= 1 || !(span > 0.0) || !std::isfinite(value)) return 0;
  const double share = std::clamp((value - slider.minimum) / span, 0.0, 1.0);
  return static_cast<int>(std::lround(share * (cells - 1)));
}

std::string sliderRow(const platform::MenuSlider& slider, int width) {
  const int labelWidth = displayWidth(slider.valueLabel);
  const int cells = width - 1 - labelWidth;
  if (cells < 3) return padToWidth(fitToWidth(slider.valueLabel, width), width);
  std::vector<bool> stops(static_cast<std::size_t>(cells), false);
  for (const double stop : slider.stops)
    stops[static_cast<std::size_t>(trackCell(slider, stop, cells))] = true;
  const int knob = trackCell(slider, slider.value, cells);
  std::string row;
  for (int cell = 0; cell < cells; ++cell) {
    const bool stop = stops[static_cast<std::size_t>(cell)];
    if (cell == knob) {
      row += "\u25CF";
    } else if (cell < knob) {
      row += stop ? "\u253F" : "\u2501";
    } else {
      row += stop ? "\u253C" : "\u2500";
    }
  }
  return row + " " + slider.valueLabel;
}

}  // namespace lumora::sim::terminal
