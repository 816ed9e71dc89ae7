#pragma once

#include "platform/Alerts.h"
#include "platform/Updater.h"

namespace lumora::macos {

// The software updater: Sparkle's standard controller in builds that embed Sparkle; in builds
// without it, an updater that tells the user so. The build picks the implementation.
class MacUpdaters final : public platform::Updaters {
 public:
  explicit MacUpdaters(platform::Alerts& alerts) : alerts_(alerts) {}

  std::unique_ptr<platform::UpdaterController> makeStandardUpdaterController(
      bool startingUpdater) override;

 private:
  [[maybe_unused]] platform::Alerts& alerts_;  // only builds without the updater use it
};

}  // namespace lumora::macos
