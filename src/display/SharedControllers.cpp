#include "display/SharedControllers.h"

#include "display/TargetDisplay.h"

namespace lumora {

SharedControllers::SharedControllers(platform::Platform& platform, HeadroomBrightness::Clock clock)
    : platform_(platform), clock_(std::move(clock)) {}

TransferTables& SharedControllers::tables() {
  std::call_once(tablesOnce_, [this] {
    tables_ =
        std::make_unique<TransferTables>(platform_.displays, xdrTargetDisplay(platform_.displays));
  });
  return *tables_;
}

XDRController& SharedControllers::xdr() {
  std::call_once(xdrOnce_, [this] {
    xdr_ = std::make_unique<XDRController>(platform_, tables(), trail_, clock_);
  });
  return *xdr_;
}

DeepBlacksController& SharedControllers::deepBlacks() {
  if (!deepBlacks_) {
    deepBlacks_ = std::make_unique<DeepBlacksController>(
        platform_.userDefaults, platform_.displays, tables(), platform_.mainQueue, platform_.alerts,
        platform_.console, trail_);
  }
  return *deepBlacks_;
}

XDRPause& SharedControllers::pause() {
  if (!pause_) {
    pause_ = std::make_unique<XDRPause>(xdr(), platform_.userDefaults, platform_.power,
                                        platform_.timers);
  }
  return *pause_;
}

}  // namespace lumora
