#pragma once

#include <array>
#include <functional>
#include <string_view>

namespace lumora::platform {

// NSProcessInfoThermalState.
enum class ThermalState { nominal = 0, fair = 1, serious = 2, critical = 3 };
inline constexpr std::array<ThermalState, 4> allThermalStates{
    ThermalState::nominal, ThermalState::fair, ThermalState::serious, ThermalState::critical};

// The state's name in lower case, as "serious".
constexpr std::string_view thermalStateName(ThermalState state) {
  switch (state) {
    case ThermalState::nominal:
      return "nominal";
    case ThermalState::fair:
      return "fair";
    case ThermalState::serious:
      return "serious";
    case ThermalState::critical:
      return "critical";
  }
  return "nominal";
}

// Where the Mac draws its power from, how full its battery is and how hot it runs.
struct PowerState {
  bool hasBattery = false;
  bool onBattery = false;
  // The battery's charge, 0 to 100; 100 without a battery.
  int batteryPercent = 100;
  ThermalState thermalState = ThermalState::nominal;

  friend bool operator==(const PowerState&, const PowerState&) = default;
};

// The power sources (IOPSCopyPowerSourcesInfo) and the thermal state (NSProcessInfo.thermalState),
// with their changes told as they happen rather than polled. Main thread only.
class Power {
 public:
  virtual ~Power() = default;

  virtual PowerState currentState() = 0;

  // From now on `changed` runs on the main thread after the state changed, and only then: the
  // system's notifications come often, without a change. A later call replaces it.
  virtual void observe(std::function<void()> changed) = 0;
};

}  // namespace lumora::platform
