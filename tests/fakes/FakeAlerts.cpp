#include "fakes/FakeAlerts.h"

namespace lumora::testing {

int FakeAlerts::runModal(const platform::Alert& alert) {
  log_.add("alerts.runModal ", alert.messageText);
  shown.push_back(alert);
  if (whileShown) whileShown(alert);
  log_.add("alerts.dismissed");
  return response;
}

}  // namespace lumora::testing
