#pragma once

#include <optional>

#include "platform/Displays.h"

namespace lumora {

// The display XDR and Deep Blacks act on. Where the Mac has a built-in panel, it is that one,
// whichever display has the menu bar or the keyboard focus: an external main display must not
// be raised or tinted instead. Without one, XDR takes the main display and Deep Blacks the
// display behind the main screen. Looked up afresh on every call, since displays come and go.

platform::DisplayID xdrTargetDisplay(platform::Displays& displays);

// None when there is no built-in panel and no main screen with a usable display number.
std::optional<platform::DisplayID> deepBlacksTargetDisplay(platform::Displays& displays);

// The display identifier a screen number stands for, when it converts exactly.
std::optional<platform::DisplayID> displayIDFromScreenNumber(const platform::ScreenNumber& number);

}  // namespace lumora
