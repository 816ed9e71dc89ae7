#pragma once

#include <string>

#include "platform/sim/SimStatusBar.h"

namespace lumora::sim {

// The status button as text: its image's glyphs and description, its title and its tint, as
// `☀ sun.max.fill {cyanColor}` or `"●" tinted cyanColor`.
std::string describeStatusButton(const SimStatusButton& button, bool withColor);

}  // namespace lumora::sim
