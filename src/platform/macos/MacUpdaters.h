#pragma once

#include "platform/Alerts.h"
#include "platform/Updaters.h"

namespace lumora::macos {

// The software updater: Sparkle's standard controller in builds that embed Sparkle and name an
// update feed; otherwise an updater that tells the user why it cannot check. The build picks the
// implementation.
class MacUpdaters final : public platform::Updaters {
 public:
  explicit MacUpdaters(platform::Alerts& alerts) : alerts_(alerts) {}

  std::unique_ptr<platform::UpdaterController> makeStandardUpdaterController(
      bool startingUpdater) override;

 private:
  platform::Alerts& alerts_;
};

}  // namespace lumora::macos
