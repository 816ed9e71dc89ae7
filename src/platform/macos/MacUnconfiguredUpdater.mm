#include "platform/macos/MacUnconfiguredUpdater.h"

namespace lumora::macos {

MacUnconfiguredUpdaterController::MacUnconfiguredUpdaterController(platform::Alerts &alerts,
                                                                   std::string reason)
    : explainer_(alerts, std::move(reason)) {}

platform::Updater &MacUnconfiguredUpdaterController::updater() { return explainer_; }

void MacUnconfiguredUpdaterController::Explainer::checkForUpdates() {
  platform::Alert alert;
  alert.messageText = "Updates Are Not Configured";
  alert.informativeText = reason_;
  alert.style = platform::AlertStyle::informational;
  alert.buttonTitles = {"OK"};
  alert.floatsAboveOtherApplications = true;
  alerts_.runModal(alert);
}

}  // namespace lumora::macos
