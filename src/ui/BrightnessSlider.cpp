#include "ui/BrightnessSlider.h"

#include <cmath>

#include "display/Nits.h"
#include "ui/MenuActionList.h"
#include "ui/StatusMenu.h"

namespace lumora::ui {

double sliderLevel(double value) {
  const double level = clampedXDRLevel(value);
  for (const BrightnessLevel& stop : brightnessLevels) {
    if (std::fabs(level - stop.nits) <= sliderStopReach) return stop.nits;
  }
  return level;
}

std::string sliderTitle(double liveNits) {
  const double level = clampedXDRLevel(liveNits);
  std::string title = "Brightness: ";
  title += nitsText(level);
  if (!(level > sdrCeilingNits)) title += " (SDR)";
  return title;
}

platform::MenuItem brightnessSliderEntry(double liveNits) {
  platform::MenuItem item;
  item.title = sliderTitle(liveNits);
  item.action = selectors::slideNits;
  platform::MenuSlider& slider = item.slider.emplace();
  slider.minimum = sdrCeilingNits;
  slider.maximum = xdrMaximumNits;
  slider.value = clampedXDRLevel(liveNits);
  slider.stops.reserve(brightnessLevels.size());
  for (const BrightnessLevel& stop : brightnessLevels)
    slider.stops.push_back(stop.nits);
  slider.valueLabel = nitsText(slider.value);
  return item;
}

}  // namespace lumora::ui
