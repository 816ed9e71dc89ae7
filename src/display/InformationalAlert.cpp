#include "display/InformationalAlert.h"

#include <string>

namespace lumora {

void queueInformationalAlert(platform::MainQueue& mainQueue, platform::Alerts& alerts,
                             std::string_view message, std::string_view informative) {
  platform::Alert alert;
  alert.messageText = std::string(message);
  alert.informativeText = std::string(informative);
  alert.style = platform::AlertStyle::informational;
  alert.buttonTitles = {"OK"};
  alert.floatsAboveOtherApplications = true;
  queueAlert(mainQueue, alerts, std::move(alert), {});
}

void queueAlert(platform::MainQueue& mainQueue, platform::Alerts& alerts, platform::Alert alert,
                std::function<void(int response)> answered) {
  // The alerts service lives as long as the process. Not a task of the main queue, which would
  // wait behind the alert.
  mainQueue.performOnNextTurn([&alerts, alert = std::move(alert), answered = std::move(answered)] {
    const int response = alerts.runModal(alert);
    if (answered) answered(response);
  });
}

}  // namespace lumora
