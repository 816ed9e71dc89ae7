#include "platform/sim/MenuModel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "platform/sim/SymbolGlyphs.h"

namespace lumora::sim::menus {
namespace {

bool hasLetterOrDigit(std::string_view word) {
  for (const char c : word) {
    if (std::isalnum(static_cast<unsigned char>(c)) != 0) return true;
  }
  return false;
}

std::string_view withoutLeadingSymbol(std::string_view title) {
  const std::size_t space = title.find(' ');
  if (space == std::string_view::npos || hasLetterOrDigit(title.substr(0, space))) return title;
  return title.substr(space + 1);
}

}  // namespace

std::string keyEquivalentLabel(std::string_view keyEquivalent) {
  std::string label = "\u2318";
  for (const char c : keyEquivalent) {
    label += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return label;
}

bool isEnabled(const platform::MenuItem& item, const SimApplication& application) {
  if (item.isSeparator) return false;
  // The entry's own value wins, as in the Mac's menus, whose automatic enabling is off.
  if (item.enabled) return *item.enabled;
  if (item.action) return application.delegateRespondsTo(*item.action);
  return item.submenu != nullptr;
}

const platform::MenuItem* findByTitle(const platform::Menu& menu, std::string_view title) {
  for (const platform::MenuItem& item : menu.items) {
    if (item.isSeparator) continue;
    if (item.title == title || withoutLeadingSymbol(item.title) == title) return &item;
  }
  return nullptr;
}

const platform::MenuItem* findByPath(const platform::Menu& menu, std::string_view path) {
  constexpr std::string_view separator = " > ";
  const std::size_t split = path.find(separator);
  const platform::MenuItem* item = findByTitle(menu, path.substr(0, split));
  if (item == nullptr || split == std::string_view::npos) return item;
  if (item->submenu == nullptr) return nullptr;
  return findByPath(*item->submenu, path.substr(split + separator.size()));
}

PickResult pick(const platform::MenuItem& item, SimApplication& application) {
  if (item.isSeparator) return PickResult::notAnEntry;
  if (!isEnabled(item, application)) return PickResult::disabled;
  if (!item.action) return PickResult::hasSubmenu;
  if (item.slider) return PickResult::isSlider;
  application.sendMenuAction(*item.action, platform::MenuItemSender{.tag = item.tag});
  return PickResult::picked;
}

const platform::MenuItem* findSlider(const platform::Menu& menu) {
  for (const platform::MenuItem& item : menu.items) {
    if (item.slider) return &item;
    if (item.submenu) {
      if (const platform::MenuItem* inside = findSlider(*item.submenu)) return inside;
    }
  }
  return nullptr;
}

SlideResult slide(const platform::MenuItem& item, double value, platform::SliderMotion motion,
                  SimApplication& application) {
  if (!item.slider || !item.action) return SlideResult::notASlider;
  if (!isEnabled(item, application)) return SlideResult::disabled;
  // As an NSSlider: its value never leaves its range.
  if (!(value >= item.slider->minimum && value <= item.slider->maximum)) {
    return SlideResult::outOfRange;
  }
  application.sendMenuAction(
      *item.action, platform::MenuItemSender{.tag = item.tag, .value = value, .motion = motion});
  return SlideResult::moved;
}

double steppedValue(const platform::MenuSlider& slider, double by) {
  const double from = slider.value;
  const double to = std::max(slider.minimum, std::min(from + by, slider.maximum));
  if (to > from) {
    for (const double stop : slider.stops) {
      if (stop > from && stop <= to) return stop;
    }
  } else {
    for (auto stop = slider.stops.rbegin(); stop != slider.stops.rend(); ++stop) {
      if (*stop < from && *stop >= to) return *stop;
    }
  }
  return to;
}

std::string sliderRange(const platform::MenuSlider& slider) {
  const auto number = [](double value) {
    char text[32];
    std::snprintf(text, sizeof text, value == std::trunc(value) ? "%.0f" : "%g", value);
    return std::string(text);
  };
  return "[" + number(slider.minimum) + "\u2013" + number(slider.maximum) + "]";
}

std::string_view stateMark(platform::ControlState state) {
  switch (state) {
    case platform::ControlState::on:
      return "\u2713";
    case platform::ControlState::mixed:
      return "\u2013";
    case platform::ControlState::off:
      return " ";
  }
  return " ";
}

std::vector<std::string> describe(const platform::Menu& menu, const SimApplication& application,
                                  int indent) {
  std::vector<std::string> lines;
  const std::string margin(static_cast<std::size_t>(indent) * 4, ' ');
  for (const platform::MenuItem& item : menu.items) {
    if (item.isSeparator) {
      lines.push_back(margin + "  ----");
      continue;
    }
    std::string line = margin + std::string(stateMark(item.state)) + " ";
    if (item.image) line += describeSymbolImage(*item.image) + "  ";
    line += item.title;
    if (item.slider) line += "  " + sliderRange(*item.slider);
    if (!item.keyEquivalent.empty()) line += "  " + keyEquivalentLabel(item.keyEquivalent);
    if (item.submenu) line += "  \u25B8";
    if (!isEnabled(item, application)) line += "  (disabled)";
    lines.push_back(std::move(line));
    if (item.submenu) {
      for (std::string& sub : describe(*item.submenu, application, indent + 1)) {
        lines.push_back(std::move(sub));
      }
    }
  }
  return lines;
}

}  // namespace lumora::sim::menus
