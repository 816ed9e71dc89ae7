#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "display/DeepBlacksController.h"
#include "display/XDRPause.h"
#include "platform/LoginItems.h"
#include "platform/Menu.h"
#include "platform/SymbolImages.h"

namespace lumora::ui {

struct BrightnessLevel {
  std::string_view label;
  double nits;
  std::int64_t tag;
};

// The five levels the menu offers.
inline constexpr std::array<BrightnessLevel, 5> brightnessLevels{{
    {"100% \u2013 500 nits (SDR)", 500.0, 500},
    {"160% \u2013 800 nits", 800.0, 800},
    {"200% \u2013 1000 nits", 1000.0, 1000},
    {"250% \u2013 1250 nits", 1250.0, 1250},
    {"320% \u2013 1600 nits (MAX)", 1600.0, 1600},
}};

// A level entry is marked when the live level is closer to it than this.
inline constexpr double levelMarkTolerance = 50.0;

// What the menu is built from, each read once per rebuild.
struct MenuInputs {
  double liveNits = 0.0;
  bool deepBlacksOn = false;
  DeepBlacksController::Level deepBlacksLevel = DeepBlacksController::Level::off;
  bool autoEnable = false;
  platform::LoginItemStatus loginItem = platform::LoginItemStatus::notRegistered;
  bool simpleIcon = false;
  bool keyboardShortcuts = false;
  std::size_t takenShortcuts = 0;  // of those, held by other apps
  // What the display gives when its headroom keeps it below the level; none otherwise.
  std::optional<double> cappedNits{};
  // The level is chosen, but the display gives no headroom now (it went away, and is asked for
  // again): it shows SDR meanwhile.
  bool waitingForHeadroom = false;
  // Why XDR is paused; none while it is not.
  std::optional<XDRPause::Reason> pausedFor{};
  // The Pause XDR entries' choices: on battery, below 20 %, when hot.
  std::array<bool, 3> pauseChoices{};
  bool hasBattery = false;
};

std::string_view deepBlacksLevelName(DeepBlacksController::Level level);
std::string_view pauseReasonName(XDRPause::Reason reason);

// The disabled first line that tells the state.
std::string headerTitle(const MenuInputs& inputs);
// The disabled line under the levels when the display gives less than the level picked.
std::string capTitle(double givenNits);
inline constexpr std::string_view waitingForHeadroomTitle =
    "Now 500 nits: waiting for the display's headroom";
// "Keyboard Shortcuts", with how many of them other apps hold: "Keyboard Shortcuts (1 taken)".
std::string keyboardShortcutsTitle(std::size_t taken);

platform::Menu buildStatusMenu(const MenuInputs& inputs, platform::SymbolImages& symbolImages);

}  // namespace lumora::ui
