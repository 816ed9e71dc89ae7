#pragma once

#include "platform/StaticText.h"

// The action selectors that menu entries send to the application delegate.
namespace lumora::selectors {

inline constexpr platform::StaticText setNits = "setNits:";
inline constexpr platform::StaticText toggleXDR = "toggleXDR";
inline constexpr platform::StaticText toggleAutoEnable = "toggleAutoEnable";
inline constexpr platform::StaticText toggleLaunchAtLogin = "toggleLaunchAtLogin";
inline constexpr platform::StaticText toggleSimpleIcon = "toggleSimpleIcon";
inline constexpr platform::StaticText setDeepBlacksLevel = "setDeepBlacksLevel:";
inline constexpr platform::StaticText resetAllTweaks = "resetAllTweaks";
inline constexpr platform::StaticText checkForUpdates = "checkForUpdates";
inline constexpr platform::StaticText openSettings = "openSettings";
inline constexpr platform::StaticText quit = "quit";

}  // namespace lumora::selectors
