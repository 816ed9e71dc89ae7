#pragma once

#include "platform/Alerts.h"
#include "platform/Updaters.h"

namespace lumora::sim {

// A stand-in for the software updater: this build is always the newest, and a check says so.
class SimUpdaters final : public platform::Updaters {
 public:
  static constexpr const char* currentVersion = "1.5.0";

  explicit SimUpdaters(platform::Alerts& alerts) : alerts_(alerts) {}

  std::unique_ptr<platform::UpdaterController> makeStandardUpdaterController(
      bool startingUpdater) override;

 private:
  class Controller;
  class StandInUpdater;

  platform::Alerts& alerts_;
};

}  // namespace lumora::sim
