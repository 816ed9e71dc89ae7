#pragma once

#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "display/XDRController.h"
#include "platform/Power.h"
#include "platform/PreferenceKey.h"
#include "platform/Timers.h"
#include "platform/UserDefaults.h"

namespace lumora {

// Steps XDR aside while the Mac runs on battery, its battery runs low, or it runs hot, as the
// user chose, and brings the level back by itself once every such condition has ended. The user
// decides last: a level picked while paused holds until a condition starts anew. Power and heat
// come by notification, so nothing is polled. Main thread only.
class XDRPause {
 public:
  // Why XDR is paused, most pressing first.
  enum class Reason { hot = 0, batteryLow = 1, onBattery = 2 };
  static constexpr std::array<Reason, 3> allReasons{Reason::hot, Reason::batteryLow,
                                                    Reason::onBattery};

  // The user's choices; an absent key means its default.
  static constexpr preferences::Key<bool> pauseOnBatteryKey{"pauseOnBattery"};
  static constexpr preferences::Key<bool> pauseOnLowBatteryKey{"pauseOnLowBattery"};
  static constexpr preferences::Key<bool> pauseWhenHotKey{"pauseWhenHot"};
  // How long the Mac must stay nominal or fair before a pause for heat ends; hidden, for tests.
  static constexpr preferences::Key<double> thermalCalmSecondsKey{"thermalCalmSeconds"};
  static constexpr double defaultThermalCalmSeconds = 60.0;

  // Below this, on battery, the battery is low; it must climb back to the second to count as
  // recovered, so that the pause does not flap.
  static constexpr int lowBatteryPercent = 20;
  static constexpr int recoveredBatteryPercent = 25;

  XDRPause(XDRController& xdr, platform::UserDefaults& defaults, platform::Power& power,
           platform::Timers& timers);
  XDRPause(const XDRPause&) = delete;
  XDRPause& operator=(const XDRPause&) = delete;
  ~XDRPause();

  // Reads the power state and follows its changes from now on; `changed` runs after a pause or
  // a resume that the power state brought, or a battery that came or went, to show it.
  void start(std::function<void()> changed);
  // The launch's auto-enable: the level, unless a chosen condition holds now, when XDR starts
  // paused with that level to come back to.
  void applyAtLaunch(double level);
  // A level or the switch picked by the user, or the reset: it holds, paused or not.
  void userChoseLevel();

  bool isPaused() const { return paused_; }
  // While paused: the most pressing chosen condition in force.
  std::optional<Reason> reason() const;
  // The stored choice of the entry of `reason`, whether or not a battery is there.
  static bool storedChoice(platform::UserDefaults& defaults, Reason reason) {
    return preferences::readOr(defaults, keyOf(reason), defaultOf(reason));
  }
  // The reason in a few words, for the diagnosis.
  static std::string_view describe(Reason reason);
  bool hasBattery() const { return state_.hasBattery; }
  // The entry's check mark: the stored choice, or its default.
  bool isChosen(Reason reason) const;
  // The menu's entries: the other choice stored, and a pause or resume at once where it matters;
  // the caller shows it.
  void toggle(Reason reason);

 private:
  static std::size_t indexOf(Reason reason) { return static_cast<std::size_t>(reason); }
  static preferences::Key<bool> keyOf(Reason reason);
  static bool defaultOf(Reason reason);

  void powerChanged();
  // Which conditions hold after `state`, with the hysteresis of each.
  void follow(const platform::PowerState& state);
  void heatCalmed();
  // After conditions started (`started`, by reason): a pause where XDR is on, a resume where
  // nothing chosen holds any more.
  // Returns whether XDR was paused, resumed or paused for another reason.
  bool decide(const std::array<bool, 3>& started);
  bool anyChosenInForce() const;
  void pause();
  void resume();

  XDRController& xdr_;
  platform::UserDefaults& defaults_;
  platform::Power& power_;
  platform::Timers& timers_;
  std::function<void()> changed_;

  platform::PowerState state_;
  std::array<bool, 3> inForce_{};
  std::shared_ptr<platform::Timer> calming_;
  bool paused_ = false;
  double levelToRestore_ = 0.0;
};

}  // namespace lumora
