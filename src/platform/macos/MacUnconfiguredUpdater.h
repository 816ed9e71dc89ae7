#pragma once

#include <string>

#include "platform/Alerts.h"
#include "platform/Updaters.h"

namespace lumora::macos {

// An updater that cannot check and says why, for builds without an update feed.
class MacUnconfiguredUpdaterController final : public platform::UpdaterController {
 public:
  MacUnconfiguredUpdaterController(platform::Alerts& alerts, std::string reason);
  platform::Updater& updater() override;

 private:
  class Explainer final : public platform::Updater {
   public:
    Explainer(platform::Alerts& alerts, std::string reason)
        : alerts_(alerts), reason_(std::move(reason)) {}
    void checkForUpdates() override;

   private:
    platform::Alerts& alerts_;
    std::string reason_;
  };
  Explainer explainer_;
};

}  // namespace lumora::macos
