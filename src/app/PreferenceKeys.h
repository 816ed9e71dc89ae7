#pragma once

#include <array>
#include <string_view>

#include "display/DeepBlacksController.h"
#include "display/XDRController.h"
#include "display/XDRPause.h"
#include "ui/KeyboardShortcuts.h"
#include "ui/MenuActions.h"

// Every key the application keeps in the user defaults store. Each is declared by the component
// that owns it; this is the list of them all.
namespace lumora::preferences {

inline constexpr std::array<std::string_view, 16> allKeyNames{
    ui::MenuActions::autoEnableKey.name,
    ui::MenuActions::launchAtLoginKey.name,
    ui::MenuActions::lastNitsKey.name,
    ui::MenuActions::simpleIconKey.name,
    DeepBlacksController::deepBlacksEnabledKey.name,
    DeepBlacksController::deepBlacksLevelKey.name,
    DeepBlacksController::deepBlacksWarningShownKey.name,
    XDRController::brightnessMethodKey.name,
    XDRPause::pauseOnBatteryKey.name,
    XDRPause::pauseOnLowBatteryKey.name,
    XDRPause::pauseWhenHotKey.name,
    ui::KeyboardShortcuts::enabledKey.name,
    ui::KeyboardShortcuts::shortcuts[0].key.name,
    ui::KeyboardShortcuts::shortcuts[1].key.name,
    ui::KeyboardShortcuts::shortcuts[2].key.name,
    ui::KeyboardShortcuts::shortcuts[3].key.name,
};

}  // namespace lumora::preferences
