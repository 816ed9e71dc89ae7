#include "platform/sim/SimUpdaters.h"

#include <string>

namespace lumora::sim {

class SimUpdaters::StandInUpdater final : public platform::Updater {
 public:
  explicit StandInUpdater(SimUpdaters& owner) : owner_(owner) {}

  void start() { started_ = true; }

  void checkForUpdates() override {
    // Like the real updater, a check before the updater was started does nothing.
    if (!started_) return;
    platform::Alert alert;
    alert.messageText = "No Update Available";
    alert.informativeText =
        std::string("Lumora Virir ") + currentVersion + " is the newest version available.";
    alert.style = platform::AlertStyle::informational;
    alert.buttonTitles = {"OK"};
    owner_.alerts_.runModal(alert);
  }

 private:
  SimUpdaters& owner_;
  bool started_ = false;
};

class SimUpdaters::Controller final : public platform::UpdaterController {
 public:
  Controller(SimUpdaters& owner, bool startingUpdater) : updater_(owner) {
    if (startingUpdater) updater_.start();
  }

  platform::Updater& updater() override { return updater_; }

 private:
  StandInUpdater updater_;
};

std::unique_ptr<platform::UpdaterController> SimUpdaters::makeStandardUpdaterController(
    bool startingUpdater) {
  return std::make_unique<Controller>(*this, startingUpdater);
}

}  // namespace lumora::sim
