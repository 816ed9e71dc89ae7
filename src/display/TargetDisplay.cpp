#include "display/TargetDisplay.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <variant>

namespace lumora {

platform::DisplayID xdrTargetDisplay(platform::Displays& displays) {
  if (const std::optional<platform::DisplayID> builtIn = displays.builtInDisplayID()) {
    return *builtIn;
  }
  return displays.mainDisplayID();
}

std::optional<platform::DisplayID> deepBlacksTargetDisplay(platform::Displays& displays) {
  if (const std::optional<platform::DisplayID> builtIn = displays.builtInDisplayID()) {
    return builtIn;
  }
  const std::optional<platform::Screen> screen = displays.mainScreen();
  if (!screen || !screen->screenNumber) return std::nullopt;
  return displayIDFromScreenNumber(*screen->screenNumber);
}

std::optional<platform::DisplayID> displayIDFromScreenNumber(const platform::ScreenNumber& number) {
  constexpr auto highest = std::numeric_limits<platform::DisplayID>::max();
  if (const auto* integer = std::get_if<std::int64_t>(&number)) {
    if (*integer < 0 || *integer > static_cast<std::int64_t>(highest)) return std::nullopt;
    return static_cast<platform::DisplayID>(*integer);
  }
  const double real = std::get<double>(number);
  if (!std::isfinite(real) || real != std::trunc(real)) return std::nullopt;
  if (real < 0.0 || real > static_cast<double>(highest)) return std::nullopt;
  return static_cast<platform::DisplayID>(real);
}

}  // namespace lumora
