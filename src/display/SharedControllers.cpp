#include "display/SharedControllers.h"

namespace lumora {

SharedControllers::SharedControllers(platform::Platform& platform) : platform_(platform) {}

XDRController& SharedControllers::xdr() {
  std::call_once(xdrOnce_, [this] {
    xdr_ =
        std::make_unique<XDRController>(platform_.displays, platform_.windowServer,
                                        platform_.console, platform_.mainQueue, platform_.alerts);
  });
  return *xdr_;
}

DeepBlacksController& SharedControllers::deepBlacks() {
  if (!deepBlacks_) {
    deepBlacks_ = std::make_unique<DeepBlacksController>(platform_.userDefaults, platform_.displays,
                                                         platform_.mainQueue, platform_.alerts);
  }
  return *deepBlacks_;
}

}  // namespace lumora
