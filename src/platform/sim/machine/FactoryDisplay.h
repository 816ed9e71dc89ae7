#pragma once

#include <cstdint>

#include "platform/sim/machine/Plist.h"

namespace lumora::sim {

// The simulated Mac as it leaves the factory, on a release of macOS that still takes raised
// presets: one built-in XDR display with an EDR headroom of 3.2, which is the main display and
// behind the main screen, with its reference presets in slots 0 to 5 and preset 0 active.
inline constexpr std::int64_t factoryMainDisplayID = 69733382;

PlistPtr factoryDisplayState();

// The factory's standard preset (slot 0).
PlistPtr factoryStandardPreset();

}  // namespace lumora::sim
