#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/Menu.h"

namespace lumora::testing {

// The menu's first entry that sends `selector`; a failure and an empty entry when there is none.
inline const platform::MenuItem& entrySending(const platform::Menu& menu,
                                              std::string_view selector) {
  for (const platform::MenuItem& item : menu.items) {
    if (item.action && item.action->view() == selector) return item;
  }
  ADD_FAILURE() << "no entry sends " << selector;
  static const platform::MenuItem none;
  return none;
}

// The menu's first entry whose title starts with `text`; a failure and an empty entry when none
// does.
inline const platform::MenuItem& entryTitled(const platform::Menu& menu, std::string_view text) {
  for (const platform::MenuItem& item : menu.items) {
    if (!item.isSeparator && item.title.starts_with(text)) return item;
  }
  ADD_FAILURE() << "no entry titled " << text;
  static const platform::MenuItem none;
  return none;
}

// A slider as the status menu's brightness slider is: 500 to 1600 nits, a stop at each level, at
// `nits` (whole).
inline platform::MenuSlider brightnessSlider(double nits) {
  return platform::MenuSlider{.minimum = 500.0,
                              .maximum = 1600.0,
                              .value = nits,
                              .stops = {500.0, 800.0, 1000.0, 1250.0, 1600.0},
                              .valueLabel = std::to_string(static_cast<int>(nits)) + " nits"};
}

}  // namespace lumora::testing
