#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Menu.h"
#include "platform/sim/SimApplication.h"

// How the simulated Mac treats an installed menu: which entries are enabled, finding an entry by
// its title, and picking one. Shared by the front ends.
namespace lumora::sim::menus {

// A key equivalent as menus show it, with the Command sign: "x" is shown as "⌘X".
std::string keyEquivalentLabel(std::string_view keyEquivalent);

// The mark in front of an entry's title, one cell wide: ✓ for on, – for mixed, a space for off.
std::string_view stateMark(platform::ControlState state);

// An entry that says whether it is enabled is taken at its word. Otherwise, the platform's
// automatic enabling: an entry with an action is enabled when the delegate answers it; one without
// an action only when it has a submenu. Separators never are.
bool isEnabled(const platform::MenuItem& item, const SimApplication& application);

// The entry whose title is `title`, or is `title` after a leading symbol (the first word, when
// it holds no letter or digit), in `menu`; null when there is none.
const platform::MenuItem* findByTitle(const platform::Menu& menu, std::string_view title);

// Follows a path of titles separated by " > " through submenus, as "Deep Blacks > Medium".
const platform::MenuItem* findByPath(const platform::Menu& menu, std::string_view path);

enum class PickResult { picked, disabled, hasSubmenu, isSlider, notAnEntry };

// Sends the entry's action to the delegate, with the entry as sender, when it is enabled. The
// action usually installs a new menu, so callers keep a copy of the entry rather than a reference
// into the menu. A slider is moved, not picked.
PickResult pick(const platform::MenuItem& item, SimApplication& application);

// The first entry of `menu` (submenus included) that is a slider; null when there is none.
const platform::MenuItem* findSlider(const platform::Menu& menu);

enum class SlideResult { moved, disabled, outOfRange, notASlider };

// Moves the entry's slider to `value`, within its range, and sends the entry's action with it,
// when the entry is enabled. As with pick, callers keep a copy of the entry.
SlideResult slide(const platform::MenuItem& item, double value, platform::SliderMotion motion,
                  SimApplication& application);

// Where a key's step of `by` takes the slider from its value: that far, within its range, or
// short of it at the first stop on the way. The stop it starts from does not hold it.
double steppedValue(const platform::MenuSlider& slider, double by);

// A slider's range as the menu's description shows it: "[500–1600]".
std::string sliderRange(const platform::MenuSlider& slider);

// The menu as lines of text: check mark, title, image, key equivalent and submenus indented.
std::vector<std::string> describe(const platform::Menu& menu, const SimApplication& application,
                                  int indent = 0);

}  // namespace lumora::sim::menus
