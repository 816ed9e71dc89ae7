#include "MacUpdaters.h"

namespace lumora::macos {
namespace {

// For builds made without the updater framework: a check explains why nothing happens.
class UnavailableUpdater final : public platform::Updater {
 public:
  explicit UnavailableUpdater(platform::Alerts &alerts) : alerts_(alerts) {}

  void checkForUpdates() override {
    platform::Alert alert;
    alert.messageText = "Updates Are Not Configured";
    alert.informativeText =
        "This build of Lumora Virir was made without an update feed, so it cannot check for "
        "updates. Download the newest version from the Lumora Virir website instead.";
    alert.style = platform::AlertStyle::informational;
    alert.buttonTitles = {"OK"};
    alert.floatsAboveOtherApplications = true;
    alerts_.runModal(alert);
  }

 private:
  platform::Alerts &alerts_;
};

class UnavailableUpdaterController final : public platform::UpdaterController {
 public:
  explicit UnavailableUpdaterController(platform::Alerts &alerts) : updater_(alerts) {}
  platform::Updater &updater() override { return updater_; }

 private:
  UnavailableUpdater updater_;
};

}  // namespace

std::unique_ptr<platform::UpdaterController> MacUpdaters::makeStandardUpdaterController(bool) {
  return std::make_unique<UnavailableUpdaterController>(alerts_);
}

}  // namespace lumora::macos
